#include "widget/ViewController.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <QUuid>

#include "ansi/VXL_ANSIEscapeHelper.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/FrameText.h"
#include "platform/ModuleObject.h"
#include "platform/NotificationCenter.h"
#include "platform/QtConversions.h"
#include "platform/SettingsStore.h"
#include "runner/CodeRunner.h"
#include "widget/AppDelegate.h"
#include "widget/MainViewSub.h"
#include "widget/lbl.h"
#include "widget/windowSub.h"

namespace pellimo::widget {

namespace {

constexpr int kQuietPeriodMs = 500;
constexpr int kCommandRegistrationDelayMs = 2000;

}  // namespace

ViewController::ViewController(windowSub* window, MainViewSub* view, lbl* canvas)
    : canvas(canvas), window_(window), view_(view) {}

namespace {

ViewController::EditorFactory& editorFactory() {
  static ViewController::EditorFactory factory;
  return factory;
}

}  // namespace

void ViewController::setEditorFactory(EditorFactory factory) {
  editorFactory() = std::move(factory);
}

void ViewController::viewDidLoad() {
  if (auto* delegate = AppDelegate::shared()) delegate->setVC(this);
  config = readManifest();
  restoreAppearance();
  if (editorFactory()) {
    configVC = editorFactory()(*this);
    configVC->viewDidLoad();
  }
}

void ViewController::applyLayerBackground() {
  view_->setLayerBackground(platform::toQColor(backgroundColor()));
}

void ViewController::restoreAppearance() {
  auto& settings = platform::SettingsStore::standard();
  cachedColor = settings.colorForKey(QStringLiteral("color"));
  fontColor = settings.colorForKey(QStringLiteral("fontColor")).value_or(ansi::Color::white());
  // The editor is made between the colours and the font, as the settings are restored in order.
  font = settings.fontForKey(QStringLiteral("codeFont"))
             .value_or(ansi::Font{"", 12.0, ansi::Font::kRegularWeight, false});
}

ansi::Color ViewController::backgroundColor() {
  if (!cachedColor) cachedColor = ansi::Color::grey(0.0, 0.5);
  return *cachedColor;
}

void ViewController::themeWidget() {
  ansi::VXL_ANSIEscapeHelper helper;
  helper.setDefaultStringColor(fontColor);
  const std::u16string text = canvas->plainText().toStdU16String();
  auto styled = helper.attributedStringWithANSIEscapedString(text);
  auto themed = std::make_shared<ansi::StyledText>(styled->string());
  themed->addAttribute(ansi::Attribute::Font, font, {0, themed->length()});
  themed->addAttribute(ansi::Attribute::Foreground, fontColor, {0, themed->length()});
  canvas->setStyledText(std::move(themed));
}

void ViewController::viewDidAppear() {
  applyLayerBackground();
  view_->setCornerRadius(5.0);
  view_->setBorder(Qt::white, 1.0);
  postFrameReport();
  view_->setRoot(this);
  configWindow();
  flattenMe();
}

void ViewController::configWindow() {
  QTimer::singleShot(kCommandRegistrationDelayMs, this, &ViewController::regNFC);
}

void ViewController::raise() {
  if (raised) {
    view_->setBorder(Qt::yellow, 1.0);
  } else {
    view_->setBorder(Qt::transparent, 0.0);
  }
  publishRaised();
  platform::NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("clearView"));
}

void ViewController::raiseMe() {
  raised = true;
  raise();
}

void ViewController::flattenMe() {
  raised = false;
  raise();
}

void ViewController::toggleEdit() {
  if (ignore) return;
  ignore = true;
  QTimer::singleShot(kQuietPeriodMs, this, [this] { ignore = false; });
  raised = !raised;
  view_->setBorder(raised ? QColor(Qt::yellow) : QColor(Qt::transparent), raised ? 1.0 : 0.0);
  publishRaised();
}

void ViewController::showEditor() {
  if (configVC) configVC->present();
}

void ViewController::startScript() {
  auto& settings = platform::SettingsStore::standard();
  const qint64 mode = configVC ? configVC->selectedLanguageTag()
                               : settings.integerForKey(QStringLiteral("modeValue"));
  const QString script =
      configVC ? configVC->scriptText() : settings.stringForKey(QStringLiteral("scriptValue"));
  auto* runner = runner::CodeRunner::initWithLanguage(mode, script, canvas);
  if (auto* delegate = AppDelegate::shared()) delegate->setRunner(runner);
  runner->uuid = QUuid::createUuid().toString(QUuid::WithoutBraces);
  runner->setAppearanceSource([this] { return runner::Appearance{font, fontColor}; });
  runner->start();
}

void ViewController::kill() {
  QCoreApplication::quit();
}

void ViewController::regNFC() {
  auto& center = platform::DistributedNotificationCenter::defaultCenter();
  const std::pair<const char*, void (ViewController::*)()> commands[] = {
      {"edit", &ViewController::toggleEdit},   {"kill", &ViewController::kill},
      {"raise", &ViewController::raiseMe},     {"flat", &ViewController::flattenMe},
      {"config", &ViewController::showEditor}, {"clear", &ViewController::removeUserDefaults},
  };
  for (const auto& [key, handler] : commands) {
    const QString name = config.value(QString::fromLatin1(key));
    if (name.isEmpty()) continue;
    center.addObserver(this, name, [this, handler = handler] { (this->*handler)(); });
  }
  if (moduleObject_) moduleObject_->setReady(true);
}

void ViewController::removeUserDefaults() {
  auto& settings = platform::SettingsStore::standard();
  for (const QString& key : settings.dictionaryRepresentation().keys()) {
    settings.removeObjectForKey(key);
  }
  settings.synchronize();
  const auto* delegate = AppDelegate::shared();
  const auto* runner = delegate ? delegate->runner() : nullptr;
  if (runner && runner->sourceFileName) QFile::remove(*runner->sourceFileName);
}

void ViewController::publishRaised() {
  if (moduleObject_) moduleObject_->setRaised(raised);
}

void ViewController::postFrameReport() {
  const QString frame = platform::stringFromRect(window_ ? QRectF(window_->geometry()) : QRectF());
  if (moduleObject_) moduleObject_->setFrame(frame);
  const QString name = config.value(QStringLiteral("frame"));
  if (name.isEmpty()) return;
  platform::DistributedNotificationCenter::defaultCenter().postNotificationName(
      name, QMap<QString, QString>{{QStringLiteral("frame"), frame}});
}

}  // namespace pellimo::widget
