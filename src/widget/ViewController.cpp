#include "widget/ViewController.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <QUuid>

#include "ansi/VXL_ANSIEscapeHelper.h"
#include "platform/DesktopWindow.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/FrameText.h"
#include "platform/ModuleObject.h"
#include "platform/NotificationCenter.h"
#include "platform/SettingsStore.h"
#include "qtbridge/QtColor.h"
#include "runner/CodeRunner.h"
#include "widget/AppDelegate.h"
#include "widget/FramePlacement.h"
#include "widget/MainViewSub.h"
#include "widget/lbl.h"
#include "widget/windowSub.h"

namespace pellimo::widget {

namespace {

constexpr int kQuietPeriodMs = 500;
constexpr int kCommandRegistrationDelayMs = 2000;

ViewController::EditorFactory& editorFactory() {
  static ViewController::EditorFactory factory;
  return factory;
}

}  // namespace

ViewController::ViewController(windowSub* window, MainViewSub* view, lbl* canvas,
                               QAbstractButton* configBtn)
    : canvas(canvas), configBtn(configBtn), window_(window), view_(view) {}

void ViewController::setEditorFactory(EditorFactory factory) {
  editorFactory() = std::move(factory);
}

void ViewController::viewDidLoad() {
  if (auto* delegate = AppDelegate::shared()) delegate->setVC(this);
  view_->setOpaque(false);
  config = readManifest();
  auto& settings = platform::SettingsStore::standard();
  cachedColor = settings.colorForKey(QStringLiteral("color"));
  fontColor = settings.colorForKey(QStringLiteral("fontColor")).value_or(ansi::Color::white());
  if (editorFactory()) {
    configVC = editorFactory()(*this);
    configVC->viewDidLoad();
  }
  font = settings.fontForKey(QStringLiteral("codeFont"))
             .value_or(ansi::Font{"", 12.0, ansi::Font::kRegularWeight, false});
}

void ViewController::viewDidAppear() {
  window_->activateWindow();
  restoreFrame(false);
  applyLayerBackground();
  view_->setCornerRadius(5.0);
  view_->setBorder(Qt::white, 1.0);
  view_->setOpaque(true);
  platform::setWindowLevel(window_->windowHandle(), platform::WindowLevel::Floating);
  postFrameReport();
  view_->setRoot(this);
  restoreFrame(true);
  configWindow();
  flattenMe();
}

void ViewController::restoreFrame(bool skipZero) {
  const QVariant stored =
      platform::SettingsStore::standard().objectForKey(QStringLiteral("frameMark"));
  if (!stored.isValid()) return;
  const QRectF frame = platform::rectFromString(stored.toString());
  if (skipZero && frame.isNull()) return;
  window_->setFrame(placedFrame(frame.toRect(), window_->geometry()));
}

void ViewController::configWindow() {
  platform::setWindowLevel(window_->windowHandle(), platform::WindowLevel::Floating);
  window_->setResizable(true);
  platform::joinAllDesktops(window_->windowHandle());
  QTimer::singleShot(kCommandRegistrationDelayMs, this, &ViewController::regNFC);
}

void ViewController::applyLayerBackground() {
  view_->setLayerBackground(qtbridge::toQColor(backgroundColor()));
}

ansi::Color ViewController::backgroundColor() {
  if (!cachedColor) cachedColor = ansi::Color::grey(0.0, 0.5);
  return *cachedColor;
}

void ViewController::themeWidget() {
  ansi::VXL_ANSIEscapeHelper helper;
  helper.setDefaultStringColor(fontColor);
  const std::u16string text = canvas->plainText().toStdU16String();
  const auto styled = helper.attributedStringWithANSIEscapedString(text);
  auto themed = std::make_shared<ansi::StyledText>(styled->string());
  themed->addAttribute(ansi::Attribute::Font, font, {0, themed->length()});
  themed->addAttribute(ansi::Attribute::Foreground, fontColor, {0, themed->length()});
  canvas->setStyledText(std::move(themed));
}

void ViewController::raise() {
  if (raised) {
    if (configBtn) configBtn->show();
    view_->setBorder(Qt::yellow, 1.0);
    platform::setWindowLevel(window_->windowHandle(), platform::WindowLevel::Floating);
  } else {
    if (configBtn) configBtn->hide();
    platform::setWindowLevel(window_->windowHandle(), platform::WindowLevel::Desktop);
    view_->setBorder(Qt::transparent, 0.0);
  }
  publishRaised();
  platform::NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("clearView"));
}

void ViewController::raiseMe() {
  raised = true;
  raise();
  raiseFromDesktop(0.5, view_);
}

void ViewController::flattenMe() {
  raised = false;
  raise();
  raiseFromDesktop(0.5, view_);
}

void ViewController::raiseFromDesktop(double duration, MainViewSub* layer) {
  layer->zoom(duration);
}

void ViewController::toggleEdit() {
  if (ignore) return;
  ignore = true;
  QTimer::singleShot(kQuietPeriodMs, this, [this] { ignore = false; });
  backgroundColor();
  if (raised) {
    raised = false;
    view_->setOpaque(false);
    platform::setWindowLevel(window_->windowHandle(), platform::WindowLevel::Desktop);
    view_->setBorder(view_->borderColor(), 0.0);
  } else {
    raised = true;
    applyLayerBackground();
    view_->setOpaque(true);
    view_->setBorder(Qt::yellow, 1.0);
    platform::setWindowLevel(window_->windowHandle(), platform::WindowLevel::Floating);
  }
  publishRaised();
}

void ViewController::showEditor() {
  if (configVC) configVC->present();
}

void ViewController::showConfig(QObject*) {
  showEditor();
  window_->lower();
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
  const QString name = config.value(QStringLiteral("frame"));
  if (!name.isEmpty()) {
    platform::DistributedNotificationCenter::defaultCenter().postNotificationName(
        name, QMap<QString, QString>{{QStringLiteral("frame"), frame}});
  }
}

}  // namespace pellimo::widget
