// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <memory>
#include <string>

#include "ansi/StyledTextStream.h"
#include "ansi/Utf8.h"
#include "runner/Canvas.h"
#include "runner/MenuTextStream.h"
#include "runner/ReceivedBytes.h"

namespace pellimo::runner {

/// The standard output of one run, translated as it arrives: invalid UTF-8 bytes show as
/// U+FFFD, a character cut between pieces waits for its rest, and only the newest text is kept
/// once a run has printed more than the bound.
///
/// Scripts that redraw a screen clear it first, as terminal dashboards do: a clear-screen
/// (ESC[2J, as `clear` prints it) or a form feed ends a frame. Only the frame being written and
/// the last complete one are kept; colours carry from one frame into the next.
///
/// In the menu format, lines are read whole, and each frame has a menu as well (see
/// `MenuTextStream`).
class RunOutput {
 public:
  static constexpr std::size_t kMaxUnits = 4 * 1024 * 1024;

  enum class LineFormat { Plain, Menu };

  /// `helper` translates the output; it must outlive this. Uncoloured text takes the helper's
  /// default colour, which must be `look`'s text colour.
  RunOutput(const ansi::VXL_ANSIEscapeHelper& helper, const Appearance& look,
            LineFormat format = LineFormat::Plain);

  void append(const QByteArray& bytes);
  /// The run has ended: settle what was cut off at the end.
  void finish();
  /// Translates what was received again in a new look (the helper's default colour already
  /// changed to its text colour); false when the look is the same.
  bool restyle(const Appearance& look);

  /// The frame being written: all the output when the script never clears the screen.
  const std::shared_ptr<ansi::StyledText>& styledText() const {
    return menuStream_ ? menuStream_->styledText() : stream_->styledText();
  }
  /// The menu of the frame being written; null in the plain format.
  std::shared_ptr<const ScriptMenu> menu() const {
    return menuStream_ ? menuStream_->menu() : nullptr;
  }
  /// The menu of `lastFrame`; null in the plain format.
  const std::shared_ptr<const ScriptMenu>& lastMenu() const { return lastMenu_; }
  /// The last frame a clear-screen ended that had any text; null until one did.
  const std::shared_ptr<const ansi::StyledText>& lastFrame() const { return lastFrame_; }
  /// How many frames with text have ended: a new count means a new `lastFrame`.
  quint64 endedFrames() const { return endedFrames_; }
  /// How many of the bytes received are kept (the newest, once there were many).
  std::size_t receivedBytes() const { return received_.size(); }
  /// Whether the run has shown no text at all yet.
  bool isEmpty() const { return !lastFrame_ && styledText()->length() == 0; }

 private:
  void makeStream(const Appearance& look);
  void appendToStream(std::u16string_view text);
  void finishStream();
  void endFrame();
  void translate(std::u16string_view text);
  void keepNewest();

  const ansi::VXL_ANSIEscapeHelper& helper_;
  Appearance look_;
  ansi::Utf8Decoder decoder_;
  LineFormat format_;
  /// One of the two, by the format.
  std::unique_ptr<ansi::StyledTextStream> stream_;
  std::unique_ptr<MenuTextStream> menuStream_;
  std::shared_ptr<const ansi::StyledText> lastFrame_;
  std::shared_ptr<const ScriptMenu> lastMenu_;
  quint64 endedFrames_ = 0;
  /// The bytes received, so that a new look can be applied to them; kept undecoded, as
  /// keeping them costs a large share of showing them and a new look is rare.
  ReceivedBytes received_;
  std::u16string decoded_;
  bool finished_ = false;
};

}  // namespace pellimo::runner
