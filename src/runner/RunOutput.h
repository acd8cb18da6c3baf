#pragma once

#include <QByteArray>
#include <memory>

#include "ansi/StyledTextStream.h"
#include "ansi/Utf8.h"
#include "runner/Canvas.h"

namespace pellimo::runner {

/// The standard output of one run, translated as it arrives: invalid UTF-8 bytes show as
/// U+FFFD, a character cut between pieces waits for its rest, and only the newest text is kept
/// once a run has printed more than the bound.
class RunOutput {
 public:
  static constexpr std::size_t kMaxUnits = 4 * 1024 * 1024;

  /// `helper` translates the output; it must outlive this. Uncoloured text takes the helper's
  /// default colour, which must be `look`'s text colour.
  RunOutput(const ansi::VXL_ANSIEscapeHelper& helper, const Appearance& look);

  void append(const QByteArray& bytes);
  /// The run has ended: settle what was cut off at the end.
  void finish();
  /// Translates what was received again in a new look (the helper's default colour already
  /// changed to its text colour); false when the look is the same.
  bool restyle(const Appearance& look);

  const std::shared_ptr<ansi::StyledText>& styledText() const { return stream_->styledText(); }

 private:
  void translate(std::u16string_view text);
  void keepNewest();

  const ansi::VXL_ANSIEscapeHelper& helper_;
  Appearance look_;
  ansi::Utf8Decoder decoder_;
  std::unique_ptr<ansi::StyledTextStream> stream_;
  /// What was received, escape sequences included, so that a new look can be applied to it.
  std::u16string received_;
  std::u16string decoded_;
  bool finished_ = false;
};

}  // namespace pellimo::runner
