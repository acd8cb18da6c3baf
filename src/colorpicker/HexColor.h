// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

#include "ansi/Color.h"

namespace pellimo::colorpicker {

/// "#rrggbb" of the colour's RGB components, each rounded to 8 bits; alpha is left out.
QString hexText(const ansi::Color& color);
/// An opaque RGB colour from "#rrggbb" or "rrggbb" (either case, spaces around allowed), with
/// components n / 255.0; none for other text.
std::optional<ansi::Color> colorFromHexText(const QString& text);

}  // namespace pellimo::colorpicker
