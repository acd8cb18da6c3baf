#pragma once

#include <QImage>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "ansi/StyledText.h"
#include "ansi/VXL_ANSIEscapeHelper.h"
#include "widget/lbl.h"

namespace pellimo::test {

inline const ansi::Font kWidgetFont{"DejaVu Sans", 24, ansi::Font::kRegularWeight, false};
inline const ansi::Color kTextColor = ansi::Color::grey(0.9);

/// Script output as the runner puts it on the canvas: translated, in the widget's font.
inline std::shared_ptr<const ansi::StyledText> translated(std::u16string_view text) {
  ansi::VXL_ANSIEscapeHelper helper;
  helper.setDefaultStringColor(kTextColor);
  auto styled =
      std::make_shared<ansi::StyledText>(*helper.attributedStringWithANSIEscapedString(text));
  styled->addAttribute(ansi::Attribute::Font, kWidgetFont, {0, styled->length()});
  return styled;
}

/// The canvas drawn over black, as it shows on a widget without a compositor.
inline QImage rendered(widget::lbl& canvas) {
  QImage image(canvas.size(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::black);
  canvas.render(&image);
  return image;
}

inline int countPixels(const QImage& image, const std::function<bool(const QColor&)>& wanted) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x)
      count += wanted(image.pixelColor(x, y)) ? 1 : 0;
  }
  return count;
}

}  // namespace pellimo::test
