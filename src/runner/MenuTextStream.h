// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ansi/EscapedTextReader.h"
#include "ansi/StyledText.h"
#include "ansi/VXL_ANSIEscapeHelper.h"
#include "runner/Canvas.h"
#include "runner/ScriptMenu.h"

namespace pellimo::runner {

/// Builds styled text from output in the menu format, whole lines at a time, since a line's
/// attributes come at its end. Lines up to the first "---" are shown, without their
/// attributes and in the look those give them (escape sequences still apply); the lines after
/// it make the frame's menu. A clear-screen starts a new frame, with a menu of its own.
class MenuTextStream {
 public:
  /// `look` gives the text colour and font of lines that set none. `onClearScreen` hears of
  /// each clear-screen, before the new frame's menu starts empty.
  MenuTextStream(const ansi::VXL_ANSIEscapeHelper& helper, const Appearance& look,
                 std::function<void()> onClearScreen);

  void append(std::u16string_view piece);
  /// Shows the last line, which no newline ended.
  void finish();

  /// The styled text so far; it keeps growing in place as lines arrive.
  const std::shared_ptr<ansi::StyledText>& styledText() const { return styled_; }
  /// The menu of the frame being written; it too grows in place.
  const std::shared_ptr<ScriptMenu>& menu() const { return menu_; }

 private:
  void takeLine(std::u16string_view line);
  void showLine(std::u16string_view text, const LineLook& look);
  void addMenuItem(std::u16string_view text, const LineAttributes& meant);
  /// Takes text the reader gives out, in the look of the line it belongs to.
  void show(std::u16string_view text, ansi::StyledText::Attributes attributes);
  void resetLineLook();
  void frameEnded();

  /// A copy whose default colour marks text no escape sequence colours.
  ansi::VXL_ANSIEscapeHelper helper_;
  Appearance look_;
  std::function<void()> onClearScreen_;
  std::shared_ptr<ansi::StyledText> styled_ = std::make_shared<ansi::StyledText>();
  std::shared_ptr<ScriptMenu> menu_ = std::make_shared<ScriptMenu>();
  ansi::EscapedTextReader reader_;
  std::u16string pending_;
  bool inMenu_ = false;
  ansi::Color lineColor_;
  ansi::Font lineFont_;
  /// Characters the line may still show, while it has a length.
  std::optional<int> budget_;
};

}  // namespace pellimo::runner
