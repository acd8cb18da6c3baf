// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

#include "ansi/Font.h"

namespace pellimo::qtbridge {

/// Weights map between the font manager's 0 to 15 scale and Qt's 100 to 900; an empty family
/// is the desktop's general font.
QFont toQFont(const ansi::Font& font);
/// The step of the 0 to 15 scale nearest the font's Qt weight.
ansi::Font fromQFont(const QFont& font);

}  // namespace pellimo::qtbridge
