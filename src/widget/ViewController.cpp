// SPDX-License-Identifier: GPL-3.0-or-later
#include "widget/ViewController.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QUuid>

#include "ansi/VXL_ANSIEscapeHelper.h"
#include "platform/BusContract.h"
#include "platform/DesktopWindow.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/FrameText.h"
#include "platform/ModuleObject.h"
#include "platform/NotificationCenter.h"
#include "platform/SettingsKeys.h"
#include "platform/SettingsStore.h"
#include "qtbridge/QtColor.h"
#include "runner/CodeRunner.h"
#include "runner/Interpreter.h"
#include "widget/AppDelegate.h"
#include "widget/FramePlacement.h"
#include "widget/LineActions.h"
#include "widget/MainViewSub.h"
#include "widget/ScriptMenuPopup.h"
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
    : canvas_(canvas),
      configBtn_(configBtn),
      window_(window),
      view_(view),
      lineActions_(new LineActions(
          canvas, [this] { refresh(); }, this)) {
  connect(view_, &MainViewSub::doubleClicked, this, [this] {
    raised_ = false;
    raise();
  });
  const auto actionAt = [this](const QPoint& position) {
    return canvas_ ? canvas_->actionAt(canvas_->mapFrom(view_, position)) : nullptr;
  };
  view_->setActsAt([actionAt](const QPoint& position) { return actionAt(position) != nullptr; });
  connect(view_, &MainViewSub::clicked, this, [this, actionAt](const QPoint& position) {
    // A copy: the action may rerun the script, which replaces the canvas's menu.
    if (const runner::LineAction* action = actionAt(position))
      lineActions_->run(runner::LineAction(*action));
  });
  connect(view_, &MainViewSub::menuRequested, this, &ViewController::showScriptMenu);
  connect(view_, &MainViewSub::moveSettled, this, [this] { saveFrame(true); });
  connect(view_, &MainViewSub::resizeSettled, this, [this] { saveFrame(false); });
  // Qt updates its list of screens after telling of a change, so the window follows once the
  // list is settled.
  const auto followLater = [this] { QTimer::singleShot(0, this, &ViewController::followScreens); };
  const auto watch = [this, followLater](QScreen* screen) {
    connect(screen, &QScreen::availableGeometryChanged, this, followLater);
  };
  for (QScreen* screen : QGuiApplication::screens())
    watch(screen);
  connect(qGuiApp, &QGuiApplication::screenAdded, this, [watch, followLater](QScreen* screen) {
    watch(screen);
    followLater();
  });
  connect(qGuiApp, &QGuiApplication::screenRemoved, this, followLater);
  connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, followLater);
}

ViewController::~ViewController() = default;

void ViewController::setEditorFactory(EditorFactory factory) {
  editorFactory() = std::move(factory);
}

void ViewController::viewDidLoad() {
  if (auto* delegate = AppDelegate::shared()) delegate->setVC(this);
  view_->setOpaque(false);
  config_ = readManifest();
  auto& settings = platform::SettingsStore::standard();
  cachedColor_ = settings.colorForKey(platform::keys::kColor);
  fontColor_ = settings.colorForKey(platform::keys::kFontColor).value_or(ansi::Color::white());
  font_ = ansi::withDrawableSize(
      settings.fontForKey(platform::keys::kCodeFont)
          .value_or(ansi::Font{"", 12.0, ansi::Font::kRegularWeight, false}));
  // Placed before the first map: some window managers (Weston's XWayland one) honour a
  // position only when the window is mapped with it.
  restoreFrame(false);
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
      platform::SettingsStore::standard().objectForKey(platform::keys::kFrameMark);
  if (!stored.isValid()) return;
  const QRectF frame = platform::rectFromString(stored.toString());
  if (skipZero && frame.isNull()) return;
  window_->setFrame(placedFrame(frame, window_->geometry()));
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
  if (!cachedColor_) cachedColor_ = ansi::Color::grey(0.0, 0.5);
  return *cachedColor_;
}

void ViewController::themeWidget() {
  ansi::VXL_ANSIEscapeHelper helper;
  helper.setDefaultStringColor(fontColor_);
  const std::u16string text = canvas_->plainText().toStdU16String();
  const auto styled = helper.attributedStringWithANSIEscapedString(text);
  auto themed = std::make_shared<ansi::StyledText>(styled->string());
  themed->addAttribute(ansi::Attribute::Font, font_, {0, themed->length()});
  themed->addAttribute(ansi::Attribute::Foreground, fontColor_, {0, themed->length()});
  canvas_->setStyledText(std::move(themed));
}

void ViewController::raise() {
  view_->setResizeGrip(raised_);
  if (raised_) {
    if (configBtn_) configBtn_->show();
    view_->setBorder(Qt::yellow, 1.0);
    platform::setWindowLevel(window_->windowHandle(), platform::WindowLevel::Floating);
  } else {
    if (configBtn_) configBtn_->hide();
    platform::setWindowLevel(window_->windowHandle(), platform::WindowLevel::Desktop);
    view_->setBorder(Qt::transparent, 0.0);
  }
  publishRaised();
  platform::NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("clearView"));
}

void ViewController::raiseMe() {
  raised_ = true;
  raise();
  raiseFromDesktop(0.5, view_);
}

void ViewController::flattenMe() {
  raised_ = false;
  raise();
  raiseFromDesktop(0.5, view_);
}

void ViewController::raiseFromDesktop(double duration, MainViewSub* layer) {
  layer->zoom(duration);
}

void ViewController::toggleEdit() {
  if (ignore_) return;
  ignore_ = true;
  QTimer::singleShot(kQuietPeriodMs, this, [this] { ignore_ = false; });
  backgroundColor();
  if (raised_) {
    raised_ = false;
    view_->setOpaque(false);
    platform::setWindowLevel(window_->windowHandle(), platform::WindowLevel::Desktop);
    view_->setBorder(view_->borderColor(), 0.0);
  } else {
    raised_ = true;
    applyLayerBackground();
    view_->setOpaque(true);
    view_->setBorder(Qt::yellow, 1.0);
    platform::setWindowLevel(window_->windowHandle(), platform::WindowLevel::Floating);
  }
  view_->setResizeGrip(raised_);
  publishRaised();
}

EditorController* ViewController::configVC() {
  if (!configVC_ && editorFactory()) {
    configVC_ = editorFactory()(*this);
    if (configVC_) configVC_->viewDidLoad();
  }
  return configVC_.get();
}

void ViewController::showEditor() {
  if (auto* editor = configVC()) editor->present();
}

void ViewController::showConfig(QObject*) {
  showEditor();
  window_->lower();
}

void ViewController::startScript() {
  auto& settings = platform::SettingsStore::standard();
  const qint64 mode = configVC_ ? configVC_->selectedLanguageTag()
                                : settings.integerForKey(platform::keys::kModeValue);
  const QString script =
      configVC_ ? configVC_->scriptText() : settings.stringForKey(platform::keys::kScriptValue);
  auto* delegate = AppDelegate::shared();
  if (!delegate) return;
  runner::CodeRunner& runner = delegate->initRunner(mode, script, canvas_);
  runner.setUuid(QUuid::createUuid().toString(QUuid::WithoutBraces));
  runner.setAppearanceSource([this] { return runner::Appearance{font_, fontColor_}; });
  runner.start();
}

void ViewController::refresh() {
  if (auto* current = runner()) current->start();
}

void ViewController::showScriptMenu(const QPoint& globalPosition) {
  if (!canvas_ || !canvas_->scriptMenu() || canvas_->scriptMenu()->items.empty()) return;
  QMenu* menu =
      makeScriptMenu(*canvas_->scriptMenu(), view_,
                     [this](const runner::LineAction& action) { lineActions_->run(action); });
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(globalPosition);
}

void ViewController::kill() {
  qInfo().noquote() << "pellimo-widget: quitting: the \"kill\" command";
  QCoreApplication::quit();
}

void ViewController::regNFC() {
  auto& center = platform::DistributedNotificationCenter::defaultCenter();
  namespace manifest = platform::bus::manifest;
  const std::pair<QLatin1String, void (ViewController::*)()> commands[] = {
      {manifest::kEdit, &ViewController::toggleEdit},
      {manifest::kKill, &ViewController::kill},
      {manifest::kRaise, &ViewController::raiseMe},
      {manifest::kFlat, &ViewController::flattenMe},
      {manifest::kConfig, &ViewController::showEditor},
      {manifest::kClear, &ViewController::removeUserDefaults},
      {manifest::kRefresh, &ViewController::refresh},
  };
  for (const auto& [key, handler] : commands) {
    const QString name = config_.value(key);
    if (name.isEmpty()) continue;
    center.addObserver(this, name, [this, handler = handler] { (this->*handler)(); });
  }
  if (moduleObject_) moduleObject_->setReady(true);
}

void ViewController::removeUserDefaults() {
  auto& settings = platform::SettingsStore::standard();
  settings.clear();
  settings.synchronize();
  const auto* current = runner();
  if (current && current->sourceFileName()) QFile::remove(*current->sourceFileName());
}

void ViewController::publishRaised() {
  if (moduleObject_) moduleObject_->setRaised(raised_);
}

void ViewController::postFrameReport() {
  const QString name = config_.value(platform::bus::manifest::kFrame);
  if (!name.isEmpty()) {
    platform::DistributedNotificationCenter::defaultCenter().postNotificationName(
        name, QMap<QString, QString>{{platform::bus::kFrameInfoKey, frameText()}});
  }
}

void ViewController::followScreens() {
  if (const auto moved = screenChanges_.placedAfterChange(window_->geometry(), currentScreens()))
    window_->setFrame(*moved);
}

void ViewController::saveFrame(bool report) {
  if (screenChanges_.isForced(window_->geometry())) return;
  screenChanges_.userPlaced();
  const QString frame = frameText();
  auto& settings = platform::SettingsStore::standard();
  settings.setValue(frame, platform::keys::kFrameMark);
  const bool stored = settings.synchronize();
  if (!report) return;
  qInfo().noquote() << frame;
  if (!stored) {
    qWarning().noquote() << "pellimo-widget: cannot save the window's frame:"
                         << settings.errorString();
  }
  postFrameReport();
}

QString ViewController::frameText() const {
  return platform::stringFromRect(QRectF(window_->geometry()));
}

runner::CodeRunner* ViewController::runner() const {
  const auto* delegate = AppDelegate::shared();
  return delegate ? delegate->runner() : nullptr;
}

void ViewController::stopScript() {
  auto* current = runner();
  if (!current) return;
  current->stopReloading();
  current->resetTask();
  current->setArguments(QStringList());
}

bool ViewController::loadScript(qint64 mode, const QString& text, const QString& arguments) {
  auto* current = runner();
  if (!current) return false;
  stopScript();
  current->setScript(mode, text);
  setScriptArguments(arguments);
  return current->prepare();
}

void ViewController::setScriptArguments(const QString& arguments) {
  if (auto* current = runner()) current->setArguments(runner::splitArguments(arguments));
}

void ViewController::runScript(std::function<void()> finished) {
  auto* current = runner();
  if (!current) return;
  connect(current, &runner::CodeRunner::runFinished, this, std::move(finished),
          Qt::SingleShotConnection);
  current->run();
}

void ViewController::resumeReloading() {
  if (auto* current = runner()) current->scheduleReload();
}

void ViewController::setAppearance(const ansi::Font& font, const ansi::Color& fontColor) {
  font_ = ansi::withDrawableSize(font);
  fontColor_ = fontColor;
  themeWidget();
}

void ViewController::setBackground(const std::optional<ansi::Color>& color) {
  cachedColor_ = color;
  applyLayerBackground();
}

void ViewController::activateWidget() {
  window_->activateWindow();
}

}  // namespace pellimo::widget
