// SPDX-License-Identifier: GPL-3.0-or-later
#include "colorpicker/ColorPanel.h"

#include <QHBoxLayout>
#include <QHideEvent>
#include <QLineEdit>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "colorpicker/ColorPanelResizeDimple.h"
#include "colorpicker/ColorPanelToolbar.h"
#include "colorpicker/ColorSwatchButton.h"
#include "colorpicker/ColorWheelMode.h"
#include "colorpicker/GreySliderMode.h"
#include "colorpicker/HexColor.h"
#include "colorpicker/PaletteMode.h"
#include "colorpicker/QVColorPickerPopover.h"
#include "colorpicker/SliderRow.h"
#include "colorpicker/SlidersMode.h"
#include "platform/DesktopWindow.h"

namespace pellimo::colorpicker {

namespace {

constexpr int kPercent = 100;
ColorPanel* sharedPanel = nullptr;
bool colorPanelEnabled = true;

qint32 byteOf(double component) {
  return static_cast<qint32>(std::lround(component * 255.0));
}

}  // namespace

ColorPanel* ColorPanel::sharedColorPanel() {
  if (!sharedPanel) sharedPanel = new ColorPanel;
  return sharedPanel;
}

bool ColorPanel::sharedColorPanelExists() {
  return sharedPanel != nullptr;
}

ColorPanel::ColorPanel() : toolbar_(new ColorPanelToolbar(this)) {
  setWindowFlags(Qt::Tool);
  setWindowTitle(tr("Colours"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolbar_);
  layout->addWidget(buildContentView(), 1);

  addMode(new ColorWheelMode, QStringLiteral("wheel"), tr("Colour Wheel"), ColorWheelMode::icon());
  addMode(new SlidersMode(SlidersMode::kRgb), QStringLiteral("rgb"), tr("RGB Sliders"),
          SlidersMode::rgbIcon());
  addMode(new SlidersMode(SlidersMode::kHsb), QStringLiteral("hsb"), tr("HSB Sliders"),
          SlidersMode::hsbIcon());
  addMode(new GreySliderMode, QStringLiteral("grey"), tr("Grey Scale Slider"),
          GreySliderMode::icon());
  addMode(new PaletteMode, QStringLiteral("palette"), tr("Colour Palettes"), PaletteMode::icon());
  setMode(Mode::Wheel);
  showColorInControls();
  resize(250, 400);
}

QWidget* ColorPanel::buildContentView() {
  contentView_ = new QWidget(this);
  modes_ = new QStackedWidget(contentView_);
  opacity_ = new SliderRow(tr("Opacity"), kPercent, QStringLiteral("%"), contentView_);
  opacity_->setVisible(showsAlpha_);
  preview_ = new ColorSwatchButton(color_, contentView_);
  preview_->setAttribute(Qt::WA_TransparentForMouseEvents);
  hexField_ = new QLineEdit(contentView_);
  hexField_->setToolTip(tr("Colour as #rrggbb"));
  hexField_->setMaxLength(7);

  auto* layout = new QVBoxLayout(contentView_);
  layout->setContentsMargins(8, 8, 4, 4);
  layout->addWidget(modes_, 1);
  layout->addWidget(opacity_);
  bottomRow_ = new QHBoxLayout;
  bottomRow_->addWidget(preview_);
  bottomRow_->addWidget(hexField_, 1);
  layout->addLayout(bottomRow_);
  addResizeDimpleIfMissing();

  connect(opacity_, &SliderRow::valueEdited, this, [this](int value) {
    ansi::Color color = color_;
    color.alpha = value / double(kPercent);
    setColor(color);
  });
  connect(hexField_, &QLineEdit::editingFinished, this, [this] {
    if (const auto color = colorFromHexText(hexField_->text())) {
      pick(*color);
    } else {
      hexField_->setText(hexText(color_));
    }
  });
  return contentView_;
}

void ColorPanel::addMode(ColorMode* mode, const QString& identifier, const QString& toolTip,
                         const QPixmap& icon) {
  modes_->addWidget(mode);
  modeViews_.push_back(mode);
  toolbar_->addItem(identifier, icon, toolTip, &ColorPanel::switchToModeOfItem);
  connect(mode, &ColorMode::colorPicked, this, &ColorPanel::pick);
}

void ColorPanel::setColor(const ansi::Color& color) {
  if (color == color_) return;
  color_ = color;
  showColorInControls();
  emit colorChanged(color_);
}

void ColorPanel::setMode(Mode mode) {
  mode_ = mode;
  const auto index = static_cast<std::size_t>(mode);
  modes_->setCurrentIndex(static_cast<int>(index));
  toolbar_->setSelectedItemIdentifier(toolbar_->items()[index]->itemIdentifier());
}

void ColorPanel::switchToModeOfItem(ColorPanelToolbarItem* sender) {
  const auto& items = toolbar_->items();
  const auto found = std::find_if(items.begin(), items.end(),
                                  [sender](const auto& item) { return item.get() == sender; });
  if (found != items.end()) setMode(static_cast<Mode>(found - items.begin()));
}

void ColorPanel::setShowsAlpha(bool showsAlpha) {
  showsAlpha_ = showsAlpha;
  opacity_->setVisible(showsAlpha);
}

void ColorPanel::restoreContentView() {
  if (contentView_->parentWidget() != this) {
    static_cast<QVBoxLayout*>(layout())->addWidget(contentView_, 1);
    contentView_->show();
  }
  addResizeDimpleIfMissing();
}

QRect ColorPanel::frameRectForContentRect(const QRect& contentRect) const {
  return contentRect.adjusted(0, -ColorPanelToolbar::kHeight, 0, 0);
}

void ColorPanel::orderFront() {
  if (!colorPanelEnabled) return;
  // The popover borrows this panel's content view once it has shown; the window needs it back.
  if (QVColorPickerPopover::sharedPopover()->colorPanel()) restoreContentView();
  // Above the editor and the raised widget, which float above ordinary windows themselves.
  winId();
  platform::setWindowLevel(windowHandle(), platform::WindowLevel::Floating);
  show();
  raise();
}

void ColorPanel::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  // A spontaneous hiding (another desktop shown) leaves the panel open.
  if (!event->spontaneous()) emit orderedOut();
}

void ColorPanel::disablePanel() {
  colorPanelEnabled = false;
}

void ColorPanel::enablePanel() {
  colorPanelEnabled = true;
}

QString ColorPanel::colorText() {
  const ansi::Color color = sharedColorPanel()->color().toRGB();
  return QString::asprintf("r: %d, g: %d, b: %d, a: %d", byteOf(color.c0), byteOf(color.c1),
                           byteOf(color.c2), byteOf(color.alpha));
}

void ColorPanel::pick(ansi::Color color) {
  color.alpha = showsAlpha_ ? color_.alpha : 1.0;
  setColor(color);
}

void ColorPanel::showColorInControls() {
  for (ColorMode* mode : modeViews_)
    mode->showColor(color_);
  opacity_->setValue(static_cast<int>(std::lround(color_.alpha * kPercent)));
  preview_->setColor(color_);
  hexField_->setText(hexText(color_));
}

void ColorPanel::addResizeDimpleIfMissing() {
  if (contentView_->findChild<ColorPanelResizeDimple*>(QString(), Qt::FindDirectChildrenOnly)) {
    return;
  }
  bottomRow_->addWidget(new ColorPanelResizeDimple(contentView_), 0,
                        Qt::AlignRight | Qt::AlignBottom);
}

}  // namespace pellimo::colorpicker
