// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/OutPut.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "colorpicker/ColorPanel.h"
#include "colorpicker/ColorWell.h"
#include "colorpicker/QVColorPickerPopover.h"
#include "editor/CodeEditorView.h"
#include "editor/EditorPlacement.h"
#include "editor/EditorView.h"
#include "platform/DesktopWindow.h"
#include "platform/FrameText.h"
#include "platform/NotificationCenter.h"
#include "platform/SettingsKeys.h"
#include "platform/SettingsStore.h"
#include "qtbridge/QtFont.h"
#include "widget/FramePlacement.h"
#include "widget/ViewController.h"
#include "widget/windowSub.h"

namespace pellimo::editor {

namespace {

constexpr int kRunDelayMs = 2000;
// 50 of 255 on each component: a dim grey that lets the line's text show through.
const QColor kCurrentLineHighlight = QColor::fromRgbF(50 / 255.0f, 50 / 255.0f, 50 / 255.0f, 0.8f);

/// A text field's integer value; 0 for text that is not a number.
qint64 integerValue(const QLineEdit* field) {
  bool ok = false;
  const qint64 value = field->text().trimmed().toLongLong(&ok);
  return ok ? value : 0;
}

}  // namespace

OutPut::OutPut(widget::ViewController* host) : host_(host) {
  auto* popover = colorpicker::QVColorPickerPopover::sharedPopover();
  // The popover's notifications belong to the application's notification centre.
  connect(popover, &colorpicker::QVColorPickerPopover::notificationPosted,
          &platform::NotificationCenter::defaultCenter(),
          &platform::NotificationCenter::postNotificationName, Qt::UniqueConnection);
  connect(popover, &colorpicker::QVColorPickerPopover::closed, this, &OutPut::pickerDidClose);
}

OutPut::~OutPut() = default;

EditorView* OutPut::view() {
  if (!view_) loadView();
  return view_.get();
}

void OutPut::loadView() {
  view_ = std::make_unique<EditorView>();
  const EditorView::Controls& c = view_->controls();
  connect(c.LanguagePicker, &QComboBox::activated, this,
          [this, &c] { pickLanguage(c.LanguagePicker); });
  connect(c.runBtn, &QPushButton::clicked, this, [this, &c] { runCode(c.runBtn); });
  connect(c.cancelBtn, &QPushButton::clicked, this, [this, &c] { cancelEdit(c.cancelBtn); });
  connect(c.fontBtn, &QPushButton::clicked, this, [this, &c] { pickFont(c.fontBtn); });
  connect(c.backgroundBtn, &QPushButton::clicked, this,
          [this, &c] { showPicker(c.backgroundBtn); });
  c.fontColor->setTarget(this);
  c.fontColor->setAction(colorpicker::Action(&OutPut::chosenColor));
  connect(view_.get(), &EditorView::frameSettled, this, &OutPut::windowDidSettle);
}

void OutPut::viewDidLoad() {
  view();
  static bool configured = false;
  if (!configured) {
    configured = true;
    configEditor();
  }
  const auto& settings = platform::SettingsStore::standard();
  showScript(settings.integerForKey(platform::keys::kModeValue),
             settings.stringForKey(platform::keys::kScriptValue),
             settings.stringForKey(platform::keys::kArgs));
}

void OutPut::showScript(qint64 mode, const QString& script, const QString& arguments) {
  const EditorView::Controls& c = view()->controls();
  mode_ = mode;
  selectItemWithTag(mode_);
  c.editor->setString(script);
  c.arguments->setText(arguments);
  syntaxDefinition_ = c.LanguagePicker->currentText();
  c.editor->setSyntaxDefinitionName(syntaxDefinition_);
}

void OutPut::selectItemWithTag(qint64 tag) {
  QComboBox* picker = view()->controls().LanguagePicker;
  // A stored tag of no known language leaves no language picked.
  picker->setCurrentIndex(picker->findData(tag));
}

qint64 OutPut::selectedLanguageTag() const {
  const QComboBox* picker = view_ ? view_->controls().LanguagePicker : nullptr;
  return picker && picker->currentIndex() >= 0 ? picker->currentData().toLongLong() : mode_;
}

QString OutPut::scriptText() const {
  return view_ ? view_->controls().editor->string() : QString();
}

void OutPut::configEditor() {
  CodeEditorView* editor = view()->controls().editor;
  editor->setGutterBackgroundColour(Qt::black);
  editor->setGutterTextColour(Qt::white);
  editor->setHighlightsCurrentLine(true);
  editor->setCurrentLineHighlightColour(kCurrentLineHighlight);
}

void OutPut::present() {
  EditorView* window = view();
  window->controls().message->hide();
  const auto& settings = platform::SettingsStore::standard();
  opened_ = {settings.integerForKey(platform::keys::kModeValue),
             settings.stringForKey(platform::keys::kScriptValue),
             settings.stringForKey(platform::keys::kArgs)};
  pickedLanguage_ = false;
  if (!window->isVisible()) placeWindow();
  // The window manager maps a window with the hints it has before it is mapped.
  config();
  window->show();
  window->raise();
  window->activateWindow();
  viewDidAppear();
}

void OutPut::placeWindow() {
  EditorView* window = view();
  const QRect widget = host_ ? host_->window()->geometry() : QRect();
  const QScreen* screen = widget::screenUnder(widget);
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRectF stored = platform::rectFromString(
      platform::SettingsStore::standard().stringForKey(platform::keys::kEditorFrame));
  if (openingSize_.isEmpty()) openingSize_ = window->size();
  placed_ = editorFrame(stored, widget, openingSize_, window->minimumSizeHint(),
                        screen->availableGeometry());
  window->setGeometry(placed_);
}

void OutPut::windowDidSettle() {
  const QRect frame = view()->geometry();
  if (frame == placed_) return;
  placed_ = frame;
  openingSize_ = frame.size();
  auto& settings = platform::SettingsStore::standard();
  settings.setValue(platform::stringFromRect(QRectF(frame)), platform::keys::kEditorFrame);
  settings.synchronize();
}

void OutPut::viewDidAppear() {
  const EditorView::Controls& c = view()->controls();
  if (host_) c.fontColor->setColor(host_->fontColor());
  const auto& settings = platform::SettingsStore::standard();
  c.reloadAfter->setText(QString::number(settings.integerForKey(platform::keys::kReloadAfter)));
  // No stored limit shows as an empty field: the default, not 0, which sets none.
  c.timeout->setText(settings.valueForKey(platform::keys::kTimeout).isValid()
                         ? QString::number(settings.integerForKey(platform::keys::kTimeout))
                         : QString());
  const int format =
      c.lineFormat->findData(settings.valueForKey(platform::keys::kLineFormat).toString());
  c.lineFormat->setCurrentIndex(std::max(format, 0));
  c.editor->setFocus();
}

void OutPut::config() {
  view()->winId();
  QWindow* window = view()->windowHandle();
  platform::setWindowLevel(window, platform::WindowLevel::Floating);
  platform::joinAllDesktops(window);
}

void OutPut::pickLanguage(QComboBox* sender) {
  const EditorView::Controls& c = view()->controls();
  if (host_) host_->stopScript();
  pickedLanguage_ = true;
  c.arguments->clear();
  mode_ = sender->currentData().toLongLong();
  auto& settings = platform::SettingsStore::standard();
  settings.setValue(mode_, platform::keys::kModeValue);
  settings.synchronize();
  syntaxDefinition_ = sender->currentText();
  c.editor->setSyntaxDefinitionName(syntaxDefinition_);
  // A script in one language means nothing in another.
  c.editor->setString(QString());
}

void OutPut::runCode(QObject*) {
  const EditorView::Controls& c = view()->controls();
  if (c.LanguagePicker->currentIndex() < 0) {
    c.message->setText(tr("Choose the script's language first."));
    c.message->show();
    return;
  }
  const QString script = c.editor->string();
  reloadAfterValue_ = integerValue(c.reloadAfter);
  auto& settings = platform::SettingsStore::standard();
  settings.setValue(script, platform::keys::kScriptValue);
  settings.setValue(reloadAfterValue_, platform::keys::kReloadAfter);
  settings.setValue(c.arguments->text(), platform::keys::kArgs);
  if (c.timeout->text().trimmed().isEmpty()) {
    settings.removeObjectForKey(platform::keys::kTimeout);
  } else {
    settings.setValue(integerValue(c.timeout), platform::keys::kTimeout);
  }
  settings.setValue(c.lineFormat->currentData().toString(), platform::keys::kLineFormat);
  settings.synchronize();
  if (!host_ || !host_->loadScript(mode_, script, c.arguments->text())) {
    // The editor stays open with the reason: many desktops never sound the beep.
    QApplication::beep();
    c.message->setText(
        tr("The script could not be written to a file, so it did not run. Scripts "
           "go to $XDG_RUNTIME_DIR/pellimo or to pellimo-<uid> in the temporary "
           "folder, which must be yours and closed to others."));
    c.message->show();
    return;
  }
  c.message->hide();
  closePicker();
  view()->hide();
  QTimer::singleShot(kRunDelayMs, this, [this] {
    // The editor closes once the run has ended.
    host_->runScript([this] {
      dismissController();
      host_->raise();
    });
  });
}

void OutPut::cancelEdit(QObject*) {
  // Cancel leaves things as they were when the editor opened: a language picked since then
  // stored its mode and emptied the runner's arguments.
  showScript(opened_.mode, opened_.script, opened_.arguments);
  if (pickedLanguage_) {
    auto& settings = platform::SettingsStore::standard();
    settings.setValue(opened_.mode, platform::keys::kModeValue);
    settings.synchronize();
    if (host_) host_->setScriptArguments(opened_.arguments);
  }
  dismissController();
  performReturnSegue();
  if (host_) host_->raise();
}

void OutPut::dismissController() {
  closePicker();
  view()->hide();
  // Picking a language or running stopped the timer; without this the widget would not
  // refresh again until the next launch.
  if (host_) host_->resumeReloading();
}

void OutPut::performReturnSegue() {
  if (host_) host_->activateWidget();
}

// The appearance controls: the widget's font, text colour and background colour, each applied
// to the widget and stored as it is chosen.

void OutPut::pickFont(QObject*) {
  font_ = qtbridge::fromQFont(view()->controls().editor->textFont());
  if (!fontPanel_) {
    fontPanel_ = new QFontDialog(view());
    fontPanel_->setOption(QFontDialog::DontUseNativeDialog);
    connect(fontPanel_, &QFontDialog::currentFontChanged, this, [this] { changeFont(fontPanel_); });
  }
  {
    // Opening on a font is not a change of font.
    const QSignalBlocker blocker(fontPanel_);
    fontPanel_->setCurrentFont(qtbridge::toQFont(font_));
  }
  fontPanel_->show();
  fontPanel_->raise();
  fontPanel_->activateWindow();
}

void OutPut::changeFont(QFontDialog* sender) {
  // The dialog's current font holds every change made in it so far.
  font_ = ansi::withDrawableSize(qtbridge::fromQFont(sender->currentFont()));
  auto& settings = platform::SettingsStore::standard();
  settings.setFont(font_, platform::keys::kCodeFont);
  settings.synchronize();
  if (host_) host_->setAppearance(font_, host_->fontColor());
}

void OutPut::chosenColor(colorpicker::ColorWell* sender) {
  const ansi::Color color = sender->color();
  if (!host_ || color == host_->fontColor()) return;
  auto& settings = platform::SettingsStore::standard();
  settings.setColor(color, platform::keys::kFontColor);
  settings.synchronize();
  host_->setAppearance(host_->font(), color);
}

void OutPut::showPicker(QWidget* sender) {
  auto* popover = colorpicker::QVColorPickerPopover::sharedPopover();
  if (host_ && host_->cachedColor()) popover->setColor(*host_->cachedColor());
  popover->setTarget(this);
  EditorView* ofView = view();
  const QRect anchor =
      sender ? QRect(sender->mapTo(ofView, QPoint(0, 0)), sender->size()) : QRect();
  // Showing closes a picker still on screen first, which puts the widget back in its mode.
  popover->showRelativeToRect(anchor, ofView, colorpicker::RectEdge::MinY);
  if (host_) {
    raisedBeforePicker_ = host_->isRaised();
    host_->toggleEdit();
  }
  popover->setTarget(this);
  popover->setAction(colorpicker::Action(&OutPut::colorChanged));
}

void OutPut::pickerDidClose() {
  if (!host_ || !raisedBeforePicker_) return;
  const bool raised = *std::exchange(raisedBeforePicker_, std::nullopt);
  // Not `toggleEdit`: it drops a call within half a second of the one that raised the widget.
  if (raised == host_->isRaised()) return;
  if (raised) {
    host_->raiseMe();
  } else {
    host_->flattenMe();
  }
}

void OutPut::closePicker() {
  colorpicker::QVColorPickerPopover::sharedPopover()->close();
  if (colorpicker::ColorPanel::sharedColorPanelExists()) {
    colorpicker::ColorPanel::sharedColorPanel()->orderOut();
  }
}

void OutPut::colorChanged(colorpicker::QVColorPickerPopover* sender) {
  if (!host_) return;
  const std::optional<ansi::Color> color = sender->color();
  host_->setBackground(color);
  auto& settings = platform::SettingsStore::standard();
  if (color) {
    settings.setColor(*color, platform::keys::kColor);
  } else {
    settings.removeObjectForKey(platform::keys::kColor);
  }
  settings.synchronize();
}

}  // namespace pellimo::editor
