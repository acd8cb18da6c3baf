// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ParseReporter.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <variant>

#include "tools/AnsiJson.h"

namespace pellimo::tools {

using ansi::Attribute;
using ansi::AttributeValue;

namespace {

/// Once this many written runs lie before the first that waits, they are dropped from memory.
constexpr std::size_t kDropAfter = 1024;

/// The start of a code record, "[code,", for the codes below 256 that nearly all are.
struct RecordStart {
  char text[7];
  std::uint8_t size;
};
constexpr std::array<RecordStart, 256> kRecordStarts = [] {
  std::array<RecordStart, 256> starts{};
  for (int code = 0; code < 256; ++code) {
    RecordStart& start = starts[code];
    start.text[start.size++] = '[';
    if (code >= 100) start.text[start.size++] = static_cast<char>('0' + code / 100);
    if (code >= 10) start.text[start.size++] = static_cast<char>('0' + code / 10 % 10);
    start.text[start.size++] = static_cast<char>('0' + code % 10);
    start.text[start.size++] = ',';
  }
  return starts;
}();

constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15u;

bool sameBits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

/// Whether two values print the same: numbers are compared to the bit, as 0.0 and -0.0 print
/// apart. Quicker than the variant's own equality, which goes through a visit.
bool samePrintedValue(const AttributeValue& a, const AttributeValue& b) {
  if (a.index() != b.index()) return false;
  if (const auto* color = std::get_if<ansi::Color>(&a)) {
    const auto& other = *std::get_if<ansi::Color>(&b);
    return color->model == other.model && sameBits(color->c0, other.c0) &&
           sameBits(color->c1, other.c1) && sameBits(color->c2, other.c2) &&
           sameBits(color->alpha, other.alpha);
  }
  if (const auto* font = std::get_if<ansi::Font>(&a)) {
    const auto& other = *std::get_if<ansi::Font>(&b);
    return font->family == other.family && sameBits(font->pointSize, other.pointSize) &&
           font->weight == other.weight;
  }
  return std::get<int>(a) == std::get<int>(b);
}

constexpr std::string_view kLengthKey = ",\"length\":";

}  // namespace

ParseReporter::ParseReporter(bool withFont, ReportOutput output) : writer_(std::move(output)) {
  if (withFont) helper_.setFont(ansi::Font{"Test", 12, ansi::Font::kRegularWeight, false});
  writer_.put("{\"clean\":\"");
}

void ParseReporter::append(std::string_view utf8) {
  scanner_.scan(
      utf8, [this](std::string_view text) { addText(text); },
      [this](std::span<const std::uint32_t> codes) { addCodes(codes); });
}

void ParseReporter::finish() {
  scanner_.finish<char>([this](std::string_view text) { addText(text); },
                        [this](std::span<const std::uint32_t> codes) { addCodes(codes); });
  writer_.put("\",\"codes\":[");
  writeCodes();
  writer_.put("],\"runs\":[");
  writeRuns();
  writer_.put("]}\n");
  writer_.flush();
}

void ParseReporter::addText(std::string_view utf8) {
  cleanLength_ += writer_.putEscaped(utf8);
}

void ParseReporter::writeCodes() {
  bool first = true;
  sequences_.forEach([&](std::span<const std::uint32_t> codes, std::size_t location) {
    // Each record ends with the sequence's location: its digits are worked out once, and the
    // whole array is copied each time, a fixed size being quicker to copy than the right one.
    char tail[ReportWriter::kMostDigits + 1];
    char* const tailEnd = ReportWriter::writeInteger(tail, location);
    *tailEnd = ']';
    const std::size_t tailSize = static_cast<std::size_t>(tailEnd + 1 - tail);
    for (std::uint32_t code : codes) {
      char* to = writer_.reserve(1 + 2 * ReportWriter::kMostDigits + sizeof tail);
      *to = ',';
      to += !first;
      first = false;
      if (code < kRecordStarts.size()) {
        const RecordStart& start = kRecordStarts[code];
        std::memcpy(to, start.text, sizeof start.text);
        to += start.size;
      } else {
        *to++ = '[';
        to = ReportWriter::writeInteger(to, code);
        *to++ = ',';
      }
      std::memcpy(to, tail, sizeof tail);
      writer_.commit(to + tailSize);
    }
  });
}

void ParseReporter::writeRuns() {
  ansi::RunTracker tracker(helper_, *this);
  sequences_.forEach([&tracker](std::span<const std::uint32_t> codes, std::size_t location) {
    tracker.addSequence(codes, location);
  });
  // Runs still open reach the end of the text.
  for (std::size_t i = firstPending_; i < pending_.size(); ++i) {
    if (pending_[i].length == kUnsettled) pending_[i].length = cleanLength_ - pending_[i].location;
  }
  writeSettledRuns();
}

void ParseReporter::runOpened(Attribute name, const AttributeValue& value, std::size_t location,
                              bool endable) {
  if (endable) endableRuns_[static_cast<std::size_t>(name)] = dropped_ + pending_.size();
  const std::string& head = headOf(name, value);
  const bool first = runCount_++ == 0;
  if (pending_.empty()) {
    // Nothing written waits for this run: its beginning goes straight out.
    if (!first) writer_.put(",");
    writer_.put(head);
    char* to = ReportWriter::writeInteger(
        writer_.reserve(ReportWriter::kMostDigits + kLengthKey.size()), location);
    std::memcpy(to, kLengthKey.data(), kLengthKey.size());
    writer_.commit(to + kLengthKey.size());
  } else {
    char* to = pendingText_.room(1 + head.size() + ReportWriter::kMostDigits + kLengthKey.size());
    *to = ',';
    to += !first;
    std::memcpy(to, head.data(), head.size());
    to = ReportWriter::writeInteger(to + head.size(), location);
    std::memcpy(to, kLengthKey.data(), kLengthKey.size());
    pendingText_.commit(to + kLengthKey.size());
  }
  pending_.push_back({pendingText_.size(), location, endable ? kUnsettled : 0});
  if (!endable) {
    pending_.back().length = cleanLength_ - location;
    writeSettledRuns();
  }
}

void ParseReporter::runEnded(Attribute name, std::size_t location) {
  const std::size_t index = endableRuns_[static_cast<std::size_t>(name)] - dropped_;
  pending_[index].length = location - pending_[index].location;
  if (index == firstPending_) writeSettledRuns();
}

void ParseReporter::writeSettledRuns() {
  while (firstPending_ < pending_.size() && pending_[firstPending_].length != kUnsettled) {
    const PendingRun& run = pending_[firstPending_++];
    if (run.textEnd > writtenText_) {
      writer_.put(std::string_view(pendingText_.data() + writtenText_, run.textEnd - writtenText_));
      writtenText_ = run.textEnd;
    }
    char* const to =
        ReportWriter::writeInteger(writer_.reserve(ReportWriter::kMostDigits + 1), run.length);
    *to = '}';
    writer_.commit(to + 1);
  }
  if (firstPending_ == pending_.size()) {
    dropped_ += pending_.size();
    pending_.clear();
    firstPending_ = 0;
    pendingText_.clear();
    writtenText_ = 0;
  } else if (firstPending_ >= kDropAfter && 2 * firstPending_ >= pending_.size()) {
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(firstPending_));
    dropped_ += firstPending_;
    firstPending_ = 0;
    pendingText_.erasePrefix(writtenText_);
    for (PendingRun& run : pending_)
      run.textEnd -= writtenText_;
    writtenText_ = 0;
  }
}

const std::string& ParseReporter::headOf(Attribute name, const AttributeValue& value) {
  // The tracker keeps its values in fixed places, some hundred at most: the place finds the
  // head, and the value checks it.
  const auto place = reinterpret_cast<std::uintptr_t>(&value);
  std::size_t slot = (place * kMix) >> (64 - kHeadSlotBits);
  while (heads_[slot].source && (heads_[slot].source != &value || heads_[slot].name != name))
    slot = (slot + 1) % heads_.size();
  Head& head = heads_[slot];
  if (head.source) {
    if (!head.moving && samePrintedValue(head.value, value)) return head.text;
    // An extended colour's place is used again for the next one: from now on its heads are
    // found by their value.
    head.moving = true;
    return movingHeadOf(name, value);
  }
  if (++headsUsed_ > heads_.size() / 2) {
    // Not from the tracker's tables: start afresh rather than let the probes grow long.
    heads_ = {};
    headsUsed_ = 0;
    return headOf(name, value);
  }
  head.source = &value;
  render(head, name, value);
  return head.text;
}

const std::string& ParseReporter::movingHeadOf(Attribute name, const AttributeValue& value) {
  std::uint64_t key = static_cast<std::uint64_t>(name) + 1;
  if (const auto* color = std::get_if<ansi::Color>(&value)) {
    for (double component : {color->c0, color->c1, color->c2, color->alpha}) {
      std::uint64_t bits;
      std::memcpy(&bits, &component, sizeof bits);
      key = (key ^ bits) * kMix;
    }
  }
  Head& head = movingHeads_[key >> (64 - kMovingHeadSlotBits)];
  if (head.source && head.name == name && samePrintedValue(head.value, value)) return head.text;
  head.source = &value;  // marks the slot used
  render(head, name, value);
  return head.text;
}

void ParseReporter::render(Head& head, Attribute name, const AttributeValue& value) {
  rendered_.clear();
  headWriter_.put("{\"attribute\":\"");
  headWriter_.put(attributeName(name));
  headWriter_.put("\",\"value\":");
  std::visit([this](const auto& content) { headWriter_.putValue(content); }, value);
  headWriter_.put(",\"location\":");
  headWriter_.flush();
  head.name = name;
  head.value = value;
  head.text = rendered_;
}

}  // namespace pellimo::tools
