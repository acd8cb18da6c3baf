// The editor's appearance controls: the widget's font, text colour and background colour,
// each applied to the widget and stored as it is chosen.

#include <QFontDialog>

#include "colorpicker/ColorWell.h"
#include "colorpicker/QVColorPickerPopover.h"
#include "editor/CodeEditorView.h"
#include "editor/EditorView.h"
#include "editor/OutPut.h"
#include "platform/SettingsStore.h"
#include "qtbridge/QtFont.h"
#include "widget/ViewController.h"

namespace pellimo::editor {

void OutPut::pickFont(QObject*) {
  font = qtbridge::fromQFont(editor->textFont());
  if (!fontPanel_) {
    fontPanel_ = new QFontDialog(view());
    fontPanel_->setOption(QFontDialog::DontUseNativeDialog);
    connect(fontPanel_, &QFontDialog::currentFontChanged, this, [this] { changeFont(fontPanel_); });
  }
  {
    // Opening on a font is not a change of font.
    const QSignalBlocker blocker(fontPanel_);
    fontPanel_->setCurrentFont(qtbridge::toQFont(font));
  }
  fontPanel_->show();
  fontPanel_->raise();
  fontPanel_->activateWindow();
}

void OutPut::changeFont(QFontDialog* sender) {
  // The dialog's current font holds every change made in it so far.
  font = qtbridge::fromQFont(sender->currentFont());
  auto& settings = platform::SettingsStore::standard();
  settings.setFont(font, QStringLiteral("codeFont"));
  settings.synchronize();
  if (!host) return;
  host->font = font;
  host->themeWidget();
}

void OutPut::chosenColor(colorpicker::ColorWell* sender) {
  const ansi::Color color = sender->color();
  if (!host || color == host->fontColor) return;
  host->fontColor = color;
  auto& settings = platform::SettingsStore::standard();
  settings.setColor(color, QStringLiteral("fontColor"));
  settings.synchronize();
  host->themeWidget();
}

void OutPut::showPicker(QWidget* sender) {
  auto* popover = colorpicker::QVColorPickerPopover::sharedPopover();
  if (host && host->cachedColor) popover->setColor(*host->cachedColor);
  if (host) host->toggleEdit();
  popover->setTarget(this);
  EditorView* ofView = view();
  const QRect anchor =
      sender ? QRect(sender->mapTo(ofView, QPoint(0, 0)), sender->size()) : QRect();
  popover->showRelativeToRect(anchor, ofView, colorpicker::RectEdge::MinY);
  popover->setTarget(this);
  popover->setAction(colorpicker::Action(&OutPut::colorChanged));
}

void OutPut::colorChanged(colorpicker::QVColorPickerPopover* sender) {
  if (!host) return;
  const std::optional<ansi::Color> color = sender->color();
  host->cachedColor = color;
  host->applyLayerBackground();
  auto& settings = platform::SettingsStore::standard();
  if (color) {
    settings.setColor(*color, QStringLiteral("color"));
  } else {
    settings.removeObjectForKey(QStringLiteral("color"));
  }
  settings.synchronize();
}

}  // namespace pellimo::editor
