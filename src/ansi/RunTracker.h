// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "ansi/ExtendedColor.h"
#include "ansi/VXL_ANSIEscapeHelper.h"

namespace pellimo::ansi {

/// Told of each run as the codes open it and, for a run a later code may end, of its end; a run
/// never ended reaches the end of the text. Runs arrive in the order the codes open them.
class RunListener {
 public:
  /// `endable`: a later code may end the run (an endless run, such as faint's, is never ended).
  /// `value` may change once the call returns.
  virtual void runOpened(Attribute name, const AttributeValue& value, std::size_t location,
                         bool endable) = 0;
  /// The latest endable run of the attribute ends at `location`.
  virtual void runEnded(Attribute name, std::size_t location) = 0;

 protected:
  ~RunListener() = default;
};

/// Gives SGR codes their meaning: follows the runs they open and end, in one forward pass over
/// the code records, one sequence at a time. It knows at every point which run of each
/// attribute covers the end of the text so far, so text that arrives later can be styled as
/// it comes; with `collectRuns` it also lists every run, in the order the codes opened them.
class RunTracker {
 public:
  RunTracker(const VXL_ANSIEscapeHelper& helper, bool collectRuns);
  /// Tells `listener` of the runs instead of listing them: memory stays small however many
  /// runs the text opens.
  RunTracker(const VXL_ANSIEscapeHelper& helper, RunListener& listener);
  // Open runs point into the tracker's own tables.
  RunTracker(const RunTracker&) = delete;
  RunTracker& operator=(const RunTracker&) = delete;

  /// The codes of one escape sequence, taking effect at `location` of the clean text: numbers,
  /// or the sequence's code records.
  template <class Code>
  void addSequence(std::span<const Code> codes, std::size_t location);
  /// Ends the text: runs still open reach its end.
  void finish(std::size_t cleanLength);

  /// The value of the latest run of the attribute still open, or null. It stays where it is
  /// until a later sequence opens or ends a run of the attribute.
  const AttributeValue* current(Attribute name) const {
    // The family's run if it has one open; else what an endless run of the attribute left.
    const std::size_t family = kFamilyOf[static_cast<std::size_t>(name)];
    return latestValues_[family][(openFamilies_ >> family) & 1];
  }
  /// Whether a value `current` gave may change where it is: the colour of a `38;2` or `48;2`
  /// selection is kept in one place per ground, which later selections overwrite. Every other
  /// value stays as it is for the tracker's life.
  bool changesInPlace(const AttributeValue* value) const {
    // One comparison of addresses rather than two branches: text with extended colours mixes
    // both kinds of value at random.
    const std::uintptr_t offset = reinterpret_cast<std::uintptr_t>(value) -
                                  reinterpret_cast<std::uintptr_t>(extendedColors_.data());
    return offset < sizeof extendedColors_;
  }
  std::vector<AttributeRun>& runs() { return runs_; }

 private:
  static constexpr std::size_t kFamilies = 4;
  /// An attribute, a family and an endless value's place that nothing reads: a code that
  /// opens no run, or none of the kind, writes there, so that opening costs no branch on it.
  static constexpr std::uint8_t kNowhere = 4;
  /// The family of each attribute's codes, by Attribute.
  static constexpr std::array<std::size_t, 4> kFamilyOf = {0, 2, 3, 1};

  /// What each of the common codes does, worked out once from the end relation and the
  /// helper's fonts, so that a code costs a table lookup and no branch on its value. A text's
  /// colours and fonts are those the helper gives as the text is read: a change of the helper
  /// midway does not reach it.
  struct CodeEffect {
    std::uint8_t ends = 0;              // bit f: ends the open run of family f
    std::uint8_t family = kNowhere;     // the family whose run it opens
    std::uint8_t attribute = kNowhere;  // the attribute of the run it opens
    std::uint8_t endless = kNowhere;    // faint, underline-off: whose latest endless value it is
  };
  static constexpr std::int32_t kTabledCodes = 108;
  /// What becomes of the runs: nothing beyond the current values, a list, or a listener.
  enum class Keeping { Nothing, Listed, Told };
  template <Keeping kKeeping, class Code>
  void addCodes(std::span<const Code> codes, std::size_t location);
  /// The effect of a code apart from the fonts: whom it ends, and its family.
  static CodeEffect computeEffect(std::int32_t code);

  /// The colour of a code, from the helper the first time the code is met in this text.
  const AttributeValue* colorOf(std::int32_t code);
  /// The colour of palette selection `n` of a ground, kept where it is for the tracker's life.
  const AttributeValue* paletteValue(std::uint32_t n, bool foreground);

  const VXL_ANSIEscapeHelper& helper_;
  bool collectRuns_;
  std::array<CodeEffect, kTabledCodes> effects_;
  /// The value of the run each code opens, null for codes that open none; a colour is a
  /// stand-in until its code is first met. Values are not copied per run: escape-dense text
  /// opens a run at nearly every character.
  std::array<const AttributeValue*, kTabledCodes> values_{};
  std::array<std::optional<AttributeValue>, kTabledCodes> colors_;
  /// The selected RGB colour of the open extended run of each ground (foreground, background).
  std::array<AttributeValue, 2> extendedColors_;
  /// The palette colours that are the same for either ground, made as the text first selects
  /// each; the table itself is made at the first such selection.
  std::unique_ptr<
      std::array<std::optional<AttributeValue>, kMaxSelected + 1 - kFirstFixedPaletteColor>>
      fixedPalette_;
  std::optional<AttributeValue> boldFace_;
  std::optional<AttributeValue> regularFace_;
  /// Bit f: family f (bold, underline, foreground, background) has an open run. Codes of a
  /// family end each other, so each has at most one. Ending a run only clears its bit, as
  /// escape-dense text ends one at nearly every character.
  unsigned openFamilies_ = 0;
  /// For each family, at 1 the value of its open run, and at 0 that of the latest endless run
  /// of its attribute or null: faint and underline-off runs are ended by nothing, so only the
  /// latest of each matters. A code that opens none of either writes past the families. One
  /// table, so that `current` is a single load of a pointer as it was stored: a reader that
  /// loads two stored pointers at once waits for the stores to finish.
  std::array<std::array<const AttributeValue*, 2>, kFamilies + 1> latestValues_{};
  /// Where each family's open run is in `runs_`, when they are collected.
  std::array<std::size_t, kFamilies> familyRuns_{};
  std::vector<AttributeRun> runs_;
  RunListener* listener_ = nullptr;
};

}  // namespace pellimo::ansi
