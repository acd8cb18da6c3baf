// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/RunOutput.h"

namespace pellimo::runner {

namespace {

/// How much is kept after a cut: cutting well below the bound makes cuts rare, so the time
/// spent moving text stays linear in the output.
constexpr std::size_t kKeptUnits = RunOutput::kMaxUnits * 3 / 4;

/// Where to cut text so that about the newest `kKeptUnits` stay: at a line start when there is
/// one, never inside a surrogate pair.
std::size_t cutForNewest(std::u16string_view units) {
  std::size_t cut = units.size() - kKeptUnits;
  const std::size_t newline = units.find(u'\n', cut);
  if (newline != std::u16string_view::npos) return newline + 1;
  if (cut < units.size() && units[cut] >= 0xDC00 && units[cut] <= 0xDFFF) ++cut;
  return cut;
}

/// The received bytes are cut when they exceed this, keeping about kKeptBytes: as many units
/// as a cut of the shown text keeps, whatever characters they are (a unit takes at most three
/// bytes).
constexpr std::size_t kMaxReceivedBytes = 4 * RunOutput::kMaxUnits;
constexpr std::size_t kKeptBytes = 3 * kKeptUnits;

/// The shown text never grows past the bound by more than a piece or two, so room for that is
/// set aside at the start: it costs address space, not memory, until the text fills it.
constexpr std::size_t kReservedUnits = RunOutput::kMaxUnits + RunOutput::kMaxUnits / 16;

}  // namespace

RunOutput::RunOutput(const ansi::VXL_ANSIEscapeHelper& helper, const Appearance& look,
                     LineFormat format)
    : helper_(helper), look_(look), format_(format), received_(kMaxReceivedBytes, kKeptBytes) {
  makeStream(look);
}

void RunOutput::makeStream(const Appearance& look) {
  if (format_ == LineFormat::Menu) {
    menuStream_ = std::make_unique<MenuTextStream>(helper_, look, [this] { endFrame(); });
  } else {
    stream_ = std::make_unique<ansi::StyledTextStream>(
        helper_, look.font, [this] { endFrame(); }, kReservedUnits);
  }
}

void RunOutput::appendToStream(std::u16string_view text) {
  if (menuStream_) {
    menuStream_->append(text);
  } else {
    stream_->append(text);
  }
}

void RunOutput::finishStream() {
  if (menuStream_) {
    menuStream_->finish();
  } else {
    stream_->finish();
  }
}

void RunOutput::endFrame() {
  // A clear-screen right after another, or before any text, ends no frame worth showing.
  ansi::StyledText& frame = *styledText();
  if (frame.length() == 0) return;
  lastFrame_ = std::make_shared<const ansi::StyledText>(frame);
  if (menuStream_) lastMenu_ = std::make_shared<const ScriptMenu>(*menuStream_->menu());
  frame.removePrefix(frame.length());
  ++endedFrames_;
}

void RunOutput::append(const QByteArray& bytes) {
  received_.append(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  decoded_.clear();
  decoder_.decode(std::string_view(bytes.constData(), bytes.size()), decoded_);
  translate(decoded_);
}

void RunOutput::finish() {
  decoded_.clear();
  decoder_.finish(decoded_);
  translate(decoded_);
  finishStream();
  finished_ = true;
}

bool RunOutput::restyle(const Appearance& look) {
  if (look == look_) return false;
  look_ = look;
  lastFrame_ = nullptr;
  lastMenu_ = nullptr;
  makeStream(look);
  // A character still cut off at the end stays out, as it does for the live decoder.
  ansi::Utf8Decoder decoder;
  std::u16string text;
  received_.forEach([&](std::string_view bytes) { decoder.decode(bytes, text); });
  if (finished_) decoder.finish(text);
  appendToStream(text);
  if (finished_) finishStream();
  keepNewest();
  return true;
}

void RunOutput::translate(std::u16string_view text) {
  appendToStream(text);
  keepNewest();
}

void RunOutput::keepNewest() {
  ansi::StyledText& text = *styledText();
  if (text.length() <= kMaxUnits) return;
  const std::size_t cut = cutForNewest(text.string());
  text.removePrefix(cut);
  if (menuStream_) menuStream_->menu()->dropPrefix(cut);
}

}  // namespace pellimo::runner
