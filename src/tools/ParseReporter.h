// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ansi/EscapeScanner.h"
#include "ansi/RunTracker.h"
#include "ansi/VXL_ANSIEscapeHelper.h"
#include "tools/GrowingBuffer.h"
#include "tools/ReportWriter.h"
#include "tools/SequenceLog.h"

namespace pellimo::tools {

/// Writes what the scanner and the run step see in text arriving in pieces: the clean text, the
/// code records and the runs, as one line of compact JSON, with positions in UTF-16 units. The
/// clean text goes out as it is found; the sequences wait, compactly, until the text ends and
/// the length of the runs that reach its end is known. Memory stays small: a run is written as
/// soon as it and every run opened before it have ended.
class ParseReporter : private ansi::RunListener {
 public:
  /// With `withFont` the text's base font is a fixed test font, so that bold and faint open
  /// font runs.
  ParseReporter(bool withFont, ReportOutput output);

  /// Takes valid UTF-8, as Utf8Decoder writes it.
  void append(std::string_view utf8);
  /// Ends the text and writes the rest of the report.
  void finish();

 private:
  /// A run opened but not yet written, after any written before it: its JSON up to its length
  /// ends at `textEnd` of pendingText_.
  struct PendingRun {
    std::size_t textEnd;
    std::size_t location;
    std::size_t length;  // kUnsettled until the run ends
  };
  /// A run's JSON up to its location, kept for the place of the value in the run step, or
  /// for the value.
  struct Head {
    const ansi::AttributeValue* source = nullptr;
    bool moving = false;  // the place has held other values
    ansi::Attribute name{};
    ansi::AttributeValue value;
    std::string text;
  };
  static constexpr std::size_t kUnsettled = static_cast<std::size_t>(-1);

  void addText(std::string_view utf8);
  void addCodes(std::span<const std::uint32_t> codes) { sequences_.add(codes, cleanLength_); }
  void writeCodes();
  void writeRuns();

  void runOpened(ansi::Attribute name, const ansi::AttributeValue& value, std::size_t location,
                 bool endable) override;
  void runEnded(ansi::Attribute name, std::size_t location) override;
  const std::string& headOf(ansi::Attribute name, const ansi::AttributeValue& value);
  const std::string& movingHeadOf(ansi::Attribute name, const ansi::AttributeValue& value);
  void render(Head& head, ansi::Attribute name, const ansi::AttributeValue& value);
  /// Writes the runs at the front that have ended.
  void writeSettledRuns();

  ansi::VXL_ANSIEscapeHelper helper_;
  ReportWriter writer_;
  ansi::EscapeScanner scanner_;
  SequenceLog sequences_;
  std::size_t cleanLength_ = 0;

  std::size_t runCount_ = 0;
  std::vector<PendingRun> pending_;
  std::size_t firstPending_ = 0;
  /// How many runs were dropped from the front of pending_ once written.
  std::size_t dropped_ = 0;
  GrowingBuffer<char> pendingText_;
  std::size_t writtenText_ = 0;
  /// The index among all runs of each attribute's latest endable run.
  std::array<std::size_t, 4> endableRuns_{};

  static constexpr int kHeadSlotBits = 8;
  std::array<Head, 1 << kHeadSlotBits> heads_;
  std::size_t headsUsed_ = 0;
  /// Palette colours repeat at their shared place: 256 of them on each ground.
  static constexpr int kMovingHeadSlotBits = 10;
  std::array<Head, 1 << kMovingHeadSlotBits> movingHeads_;
  std::string rendered_;
  ReportWriter headWriter_{[this](std::string_view piece) { rendered_.append(piece); }};
};

}  // namespace pellimo::tools
