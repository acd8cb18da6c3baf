// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "ansi/Color.h"
#include "ansi/Font.h"
#include "ansi/Range.h"

namespace pellimo::ansi {

/// Hashes of the attribute values, so that a layer stores each distinct value once.
struct AttributeValueHash {
  std::size_t operator()(int value) const { return std::hash<int>{}(value); }
  /// Mixes the components' bits: the library's hash of a double hashes its bytes, which cost a
  /// tenth of streaming escape-dense output. Both zeros hash alike, as they compare equal.
  std::size_t operator()(const Color& color) const {
    std::uint64_t h = static_cast<std::uint64_t>(color.model);
    for (double part : {color.c0, color.c1, color.c2, color.alpha}) {
      std::uint64_t bits = 0;
      if (part != 0) std::memcpy(&bits, &part, sizeof bits);
      h = (h ^ bits) * 0x9E3779B97F4A7C15u;
      h ^= h >> 32;
    }
    return static_cast<std::size_t>(h);
  }
  std::size_t operator()(const Font& font) const {
    return std::hash<std::string>{}(font.family) * 1000003u ^
           std::hash<double>{}(font.pointSize) * 31u ^
           static_cast<std::size_t>(font.weight * 2 + (font.italic ? 1 : 0));
  }
};

/// One attribute's values over a text: sorted segments, each running to the next one's start.
/// Neighbouring segments never hold equal values, so a segment is the longest effective range.
/// Writes in ascending order (how the parser applies its runs) touch only the tail of the list.
/// Segments hold a number for their value (each distinct value is stored once), which keeps
/// text that changes colour at every character small. The list grows in fixed blocks: a growing
/// array would copy all of it at each doubling, which held up streamed output for tens of ms.
template <class T>
class AttributeLayer {
 public:
  struct Span {
    std::optional<T> value;
    Range range;

    friend bool operator==(const Span&, const Span&) = default;
  };

  explicit AttributeLayer(std::size_t length = 0) : length_(length) {
    if (length > 0) segments_.push_back({0, kNone});
  }

  /// Replaces the value over the range (clipped to the text); nullopt removes the attribute.
  void set(Range range, const std::optional<T>& value) {
    const std::size_t begin = std::min(range.location, length_);
    const std::size_t end = std::min(range.end(), length_);
    if (begin >= end) return;
    const std::uint32_t number = intern(value);
    // The value that held at `end` carries on after the range.
    bool insertResume = false;
    std::uint32_t resumeValue = kNone;
    if (end < length_) {
      auto containing = segmentAt(end);
      insertResume = containing->start != stored(end);
      resumeValue = containing->value;
    }
    auto first = firstStartingAtOrAfter(begin);
    auto last = firstStartingAtOrAfter(end);
    first = segments_.erase(first, last);
    if (insertResume) first = segments_.insert(first, {stored(end), resumeValue});
    const bool mergesWithPrevious = first != segments_.begin() && std::prev(first)->value == number;
    if (!mergesWithPrevious) first = std::next(segments_.insert(first, {stored(begin), number}));
    if (first != segments_.end() && first->value == number) segments_.erase(first);
  }

  /// Lengthens the text by `count` units holding `value`.
  void append(std::size_t count, const std::optional<T>& value) {
    if (count == 0) return;
    const std::uint32_t number = intern(value);
    if (segments_.empty() || segments_.back().value != number) {
      segments_.push_back({stored(length_), number});
    }
    length_ += count;
  }

  /// Drops the first `count` units.
  void removePrefix(std::size_t count) {
    count = std::min(count, length_);
    if (count == 0) return;
    length_ -= count;
    if (length_ == 0) {
      segments_.clear();
      origin_ = 0;
      return;
    }
    segments_.erase(segments_.begin(), segmentAt(count));
    origin_ += count;
    segments_.front().start = origin_;
  }

  /// The value at an index and its longest effective range inside `within`.
  Span at(std::size_t index, Range within) const {
    if (index >= length_) return {std::nullopt, {index, 0}};
    auto segment = segmentAt(index);
    return clip(segment, within);
  }

  /// Calls `visit(span)` for each span inside `within`, in order; linear in the spans visited.
  template <class Visit>
  void forEach(Range within, Visit&& visit) const {
    if (within.location >= length_ || within.length == 0) return;
    for (auto segment = segmentAt(within.location);
         segment != segments_.end() && segment->start < stored(within.end()); ++segment) {
      visit(clip(segment, within));
    }
  }

  /// The spans inside `within`, in order.
  std::vector<Span> spans(Range within) const {
    std::vector<Span> out;
    forEach(within, [&out](const Span& span) { out.push_back(span); });
    return out;
  }

  std::size_t spanCount() const { return segments_.size(); }

 private:
  static constexpr std::uint32_t kNone = 0;
  static constexpr std::size_t kLookedUpValues = 4096;

  struct Segment {
    std::size_t start;    // the index plus origin_
    std::uint32_t value;  // kNone, or one more than the value's place in values_
  };
  using Iterator = typename std::deque<Segment>::iterator;
  using ConstIterator = typename std::deque<Segment>::const_iterator;

  std::size_t stored(std::size_t index) const { return index + origin_; }

  std::uint32_t intern(const std::optional<T>& value) {
    if (!value) return kNone;
    if (lastNumber_ != kNone && lastValue_ == *value) return lastNumber_;
    lastValue_ = *value;
    if (auto found = numbers_.find(*value); found != numbers_.end()) {
      lastNumber_ = found->second;
      return lastNumber_;
    }
    values_.push_back(*value);
    lastNumber_ = static_cast<std::uint32_t>(values_.size());
    // Truecolour text may bring a new value at every character: past a few thousand the
    // values are only stored, not looked up, so the table never has to grow in one go.
    if (numbers_.size() < kLookedUpValues) numbers_.emplace(*value, lastNumber_);
    return lastNumber_;
  }
  std::optional<T> valueOf(std::uint32_t number) const {
    if (number == kNone) return std::nullopt;
    return values_[number - 1];
  }

  Iterator firstStartingAtOrAfter(std::size_t position) {
    return std::lower_bound(segments_.begin(), segments_.end(), stored(position),
                            [](const Segment& s, std::size_t p) { return s.start < p; });
  }
  Iterator segmentAt(std::size_t position) {
    return std::prev(std::upper_bound(segments_.begin(), segments_.end(), stored(position),
                                      [](std::size_t p, const Segment& s) { return p < s.start; }));
  }
  ConstIterator segmentAt(std::size_t position) const {
    return std::prev(std::upper_bound(segments_.begin(), segments_.end(), stored(position),
                                      [](std::size_t p, const Segment& s) { return p < s.start; }));
  }
  Span clip(ConstIterator segment, Range within) const {
    const std::size_t next =
        std::next(segment) == segments_.end() ? length_ : std::next(segment)->start - origin_;
    const std::size_t begin = std::max(segment->start - origin_, within.location);
    const std::size_t end = std::min(next, within.end());
    return {valueOf(segment->value), {begin, end > begin ? end - begin : 0}};
  }

  std::size_t length_;
  std::deque<Segment> segments_;
  /// Dropping a prefix moves this instead of every segment's start.
  std::size_t origin_ = 0;
  std::deque<T> values_;  // truecolour text may hold millions
  std::unordered_map<T, std::uint32_t, AttributeValueHash> numbers_;
  std::uint32_t lastNumber_ = kNone;
  T lastValue_{};  // the value of lastNumber_, kept apart: finding it in values_ costs more
};

}  // namespace pellimo::ansi
