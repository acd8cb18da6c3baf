// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace pellimo::ansi {

/// A stretch of text in UTF-16 code units.
struct Range {
  std::size_t location = 0;
  std::size_t length = 0;

  std::size_t end() const { return location + length; }
  friend bool operator==(const Range&, const Range&) = default;
};

}  // namespace pellimo::ansi
