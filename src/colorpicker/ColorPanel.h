// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <vector>

#include "ansi/Color.h"

class QHBoxLayout;
class QLineEdit;
class QStackedWidget;

namespace pellimo::colorpicker {

class ColorMode;
class ColorPanelToolbar;
class ColorPanelToolbarItem;
class ColorSwatchButton;
class SliderRow;

/// The one colour panel of the process: a floating window with a toolbar of colour modes above
/// a content view (the mode, an opacity control, the colour as hex text and a resize handle).
/// The content view can be lifted into another view, as the colour picker popover does, and is
/// given back with `restoreContentView`.
class ColorPanel : public QWidget {
  Q_OBJECT

 public:
  /// In toolbar order.
  enum class Mode { Wheel, RGB, HSB, Grey, Palette };

  static ColorPanel* sharedColorPanel();
  static bool sharedColorPanelExists();

  const ansi::Color& color() const { return color_; }
  /// Shows the colour and reports it through `colorChanged` when it differs from the current one.
  void setColor(const ansi::Color& color);

  Mode mode() const { return mode_; }
  void setMode(Mode mode);
  /// The toolbar items' action: switches to the item's mode.
  void switchToModeOfItem(ColorPanelToolbarItem* sender);

  /// Without the opacity control, picked colours are opaque.
  bool showsAlpha() const { return showsAlpha_; }
  void setShowsAlpha(bool showsAlpha);

  ColorPanelToolbar* toolbar() const { return toolbar_; }
  /// The panel's content, wherever it currently is.
  QWidget* contentView() const { return contentView_; }
  /// Puts the content view back under the toolbar, with a resize handle.
  void restoreContentView();
  /// The window geometry whose content view covers `contentRect` (both in screen coordinates).
  QRect frameRectForContentRect(const QRect& contentRect) const;

  /// Shows the panel above every other window, taking its content view back from the colour
  /// picker popover; does nothing at all while the panel is disabled.
  void orderFront();
  void orderOut() { hide(); }

  /// Process-wide: while disabled, `orderFront` does nothing, so a colour well can be activated
  /// without the panel window appearing.
  static void disablePanel();
  static void enablePanel();

  /// "r: %d, g: %d, b: %d, a: %d" of the shared panel's colour, each component times 255 and
  /// rounded half away from zero. For diagnostics.
  static QString colorText();

 signals:
  void colorChanged(const pellimo::ansi::Color& color);
  /// The panel window left the screen, by `orderOut` or the window manager's close.
  void orderedOut();

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  ColorPanel();

  QWidget* buildContentView();
  void addMode(ColorMode* mode, const QString& identifier, const QString& toolTip,
               const QPixmap& icon);
  /// A colour chosen by a mode or the hex field: it takes the panel's opacity.
  void pick(ansi::Color color);
  void showColorInControls();
  void addResizeDimpleIfMissing();

  ansi::Color color_ = ansi::Color::white();
  Mode mode_ = Mode::Wheel;
  bool showsAlpha_ = false;
  ColorPanelToolbar* toolbar_;
  QWidget* contentView_ = nullptr;
  QStackedWidget* modes_ = nullptr;
  std::vector<ColorMode*> modeViews_;
  SliderRow* opacity_ = nullptr;
  ColorSwatchButton* preview_ = nullptr;
  QLineEdit* hexField_ = nullptr;
  QHBoxLayout* bottomRow_ = nullptr;
};

}  // namespace pellimo::colorpicker
