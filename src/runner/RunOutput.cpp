#include "runner/RunOutput.h"

namespace pellimo::runner {

namespace {

/// How much is kept after a cut: cutting well below the bound makes cuts rare, so the time
/// spent moving text stays linear in the output.
constexpr std::size_t kKeptUnits = RunOutput::kMaxUnits * 3 / 4;

}  // namespace

RunOutput::RunOutput(const ansi::VXL_ANSIEscapeHelper& helper, const ansi::Font& font)
    : stream_(helper, font) {}

void RunOutput::append(const QByteArray& bytes) {
  decoded_.clear();
  decoder_.decode(std::string_view(bytes.constData(), bytes.size()), decoded_);
  stream_.append(decoded_);
  keepNewest();
}

void RunOutput::finish() {
  decoded_.clear();
  decoder_.finish(decoded_);
  stream_.append(decoded_);
  stream_.finish();
}

void RunOutput::keepNewest() {
  ansi::StyledText& text = *stream_.styledText();
  if (text.length() <= kMaxUnits) return;
  const std::u16string& units = text.string();
  std::size_t cut = units.size() - kKeptUnits;
  // Start the kept text at a line start when there is one; never inside a surrogate pair.
  const std::size_t newline = units.find(u'\n', cut);
  if (newline != std::u16string::npos) {
    cut = newline + 1;
  } else if (cut < units.size() && units[cut] >= 0xDC00 && units[cut] <= 0xDFFF) {
    ++cut;
  }
  text.removePrefix(cut);
}

}  // namespace pellimo::runner
