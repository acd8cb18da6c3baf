// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLatin1String>

/// Every key a module stores in its settings, named once.
namespace pellimo::platform::keys {

/// The script's language tag (an integer).
inline constexpr QLatin1String kModeValue{"modeValue"};
/// The script text.
inline constexpr QLatin1String kScriptValue{"scriptValue"};
/// The script's arguments, separated by ",".
inline constexpr QLatin1String kArgs{"args"};
/// Seconds between runs (an integer); none or 0 runs the script once.
inline constexpr QLatin1String kReloadAfter{"reloadAfter"};
/// Seconds a run may take while reloading is on (an integer); 0 sets no limit, and none means
/// 60 s or the reload interval, whichever is longer.
inline constexpr QLatin1String kTimeout{"timeout"};
/// How output lines are read: "plain" (the default) or "menu", the line format of menu-bar
/// script tools, with attributes, click actions and a menu.
inline constexpr QLatin1String kLineFormat{"lineFormat"};
/// The widget's text font, archived.
inline constexpr QLatin1String kCodeFont{"codeFont"};
/// The widget's text colour, archived.
inline constexpr QLatin1String kFontColor{"fontColor"};
/// The widget's background colour, archived.
inline constexpr QLatin1String kColor{"color"};
/// The widget window's frame text, `{{x, y}, {w, h}}`.
inline constexpr QLatin1String kFrameMark{"frameMark"};
/// The editor window's frame text as the user last placed it, `{{x, y}, {w, h}}`.
inline constexpr QLatin1String kEditorFrame{"editorFrame"};

}  // namespace pellimo::platform::keys
