// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

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
    return current_[static_cast<std::size_t>(name)];
  }
  std::vector<AttributeRun>& runs() { return runs_; }

 private:
  /// Values are not copied per run: escape-dense text opens a run at nearly every character.
  struct Open {
    const AttributeValue* value;
    std::size_t runIndex;
  };
  static constexpr std::size_t kFamilies = 4;

  /// Opens the run of `code` (of `family`), if the code opens one. Always inlined: setting up
  /// the call cost as much as the rest of opening a run.
  [[gnu::always_inline]] inline void open(std::int32_t code, int family,
                                          const std::optional<Color>& extended,
                                          std::size_t location);

  /// What each of the common codes does, worked out once from the end relation and the
  /// helper's fonts, so that a code costs a table lookup. A text's colours and fonts are those
  /// the helper gives as the text is read: a change of the helper midway does not reach it.
  struct CodeEffect {
    std::uint8_t ends = 0;  // bit f: ends the open run of family f
    std::int8_t family = -1;
  };
  static constexpr std::int32_t kTabledCodes = 108;
  CodeEffect effectOf(std::int32_t code) const {
    return code >= 0 && code < kTabledCodes ? effects_[code] : computeEffect(code);
  }
  static CodeEffect computeEffect(std::int32_t code);

  /// The colour of a code, from the helper the first time the code is met in this text.
  const AttributeValue& colorOf(std::int32_t code);

  const VXL_ANSIEscapeHelper& helper_;
  bool collectRuns_;
  std::array<CodeEffect, kTabledCodes> effects_;
  std::array<std::optional<AttributeValue>, kTabledCodes> colors_;
  /// The selected colour of the open extended run of each ground (foreground, background).
  std::array<AttributeValue, 2> extendedColors_;
  std::optional<AttributeValue> boldFace_;
  std::optional<AttributeValue> regularFace_;
  /// The one open run of each family of codes that end each other (bold, underline,
  /// foreground, background).
  std::array<std::optional<Open>, kFamilies> familyRuns_;
  /// Faint and underline-off runs are ended by nothing, so only the latest of each matters:
  /// its value, kept by the family of its attribute's other codes (bold, underline), or null.
  std::array<const AttributeValue*, kFamilies> endlessValues_{};
  /// The value of the latest open run of each attribute, kept as runs open and end: text is
  /// handed out after nearly every sequence in escape-dense text.
  std::array<const AttributeValue*, 4> current_{};
  std::vector<AttributeRun> runs_;
  RunListener* listener_ = nullptr;
};

}  // namespace pellimo::ansi
