#pragma once

#include <QByteArray>
#include <memory>

#include "ansi/StyledTextStream.h"
#include "ansi/Utf8.h"

namespace pellimo::runner {

/// The standard output of one run, translated as it arrives: invalid UTF-8 bytes show as
/// U+FFFD, a character cut between pieces waits for its rest, and only the newest text is kept
/// once a run has printed more than the bound.
class RunOutput {
 public:
  static constexpr std::size_t kMaxUnits = 4 * 1024 * 1024;

  /// `helper` translates the output and gives uncoloured text its colour; it must outlive this.
  RunOutput(const ansi::VXL_ANSIEscapeHelper& helper, const ansi::Font& font);

  void append(const QByteArray& bytes);
  /// The run has ended: settle what was cut off at the end.
  void finish();

  const std::shared_ptr<ansi::StyledText>& styledText() const { return stream_.styledText(); }

 private:
  void keepNewest();

  ansi::Utf8Decoder decoder_;
  ansi::StyledTextStream stream_;
  std::u16string decoded_;
};

}  // namespace pellimo::runner
