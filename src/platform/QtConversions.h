#pragma once

#include <QColor>
#include <QFont>

#include "ansi/Color.h"
#include "ansi/Font.h"

namespace pellimo::platform {

/// Colours and fonts cross into Qt only at the drawing edge: a QColor cannot hold the exact
/// doubles that colour equality needs.
QColor toQColor(const ansi::Color& color);
ansi::Color fromQColor(const QColor& color);

/// Weights map between the font manager's 0 to 15 scale and Qt's 100 to 900.
QFont toQFont(const ansi::Font& font);
ansi::Font fromQFont(const QFont& font);

}  // namespace pellimo::platform
