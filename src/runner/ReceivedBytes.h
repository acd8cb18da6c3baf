// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace pellimo::runner {

/// The newest bytes a run printed, kept in blocks of up to 1 MiB: growing one string would copy
/// everything kept so far at each doubling and touch twice the memory it keeps.
class ReceivedBytes {
 public:
  /// Once more than `maxBytes` have been kept, the oldest go, keeping about `keptBytes`.
  ReceivedBytes(std::size_t maxBytes, std::size_t keptBytes);

  void append(std::string_view bytes);
  std::size_t size() const { return size_; }

  /// Calls `visit` with each stretch of the kept bytes in order.
  template <typename Visit>
  void forEach(Visit visit) const {
    for (const std::string& block : blocks_)
      visit(std::string_view(block));
  }

 private:
  void dropOldest();
  char at(std::size_t index) const;

  std::size_t maxBytes_;
  std::size_t keptBytes_;
  std::deque<std::string> blocks_;
  std::size_t size_ = 0;
};

}  // namespace pellimo::runner
