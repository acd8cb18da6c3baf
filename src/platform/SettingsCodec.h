// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

#include "ansi/Color.h"
#include "ansi/Font.h"

namespace pellimo::platform {

// Colours and fonts as self-describing JSON text, tagged with a "class" so that a value of the
// wrong kind reads as absent:
//   {"class":"color","model":"grey"|"rgb","components":[…],"alpha":…}
//   {"class":"font","family":…,"pointSize":…,"weight":0..15,"italic":…}
// Doubles are written in their shortest exact form, so colours compare equal after a round trip.

QString archiveColor(const ansi::Color& color);
/// Nothing for text that is not a colour: another class, garbage, a wrong number of components,
/// or a component or alpha that is not a number from 0 to 1.
std::optional<ansi::Color> unarchiveColor(const QString& text);

QString archiveFont(const ansi::Font& font);
/// Nothing for text that is not a font: another class, garbage, a size that is not a positive
/// number, or a weight that is not a whole number from 0 to 15.
std::optional<ansi::Font> unarchiveFont(const QString& text);

}  // namespace pellimo::platform
