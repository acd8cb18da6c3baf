// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPalette>

namespace pellimo::editor {

/// The look of the editor, which every window of the module shares: the colour picker shows
/// inside the editor and must not glare out of it.
QPalette darkPalette();

}  // namespace pellimo::editor
