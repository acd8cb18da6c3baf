// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>

namespace pellimo::tools {

/// Bytes written straight through a pointer into room made ahead, growing geometrically.
/// Unlike a string's, its growing does not fill the new room first, and appending many short
/// pieces costs a check and a copy each.
template <class Byte>
class GrowingBuffer {
 public:
  /// Room for `size` more bytes past the end; `commit` then takes the end of what was written.
  Byte* room(std::size_t size) {
    if (capacity_ - size_ < size) grow(size);
    return bytes_.get() + size_;
  }
  void commit(const Byte* end) { size_ = static_cast<std::size_t>(end - bytes_.get()); }

  const Byte* data() const { return bytes_.get(); }
  std::size_t size() const { return size_; }
  void clear() { size_ = 0; }
  /// Drops the first `count` bytes.
  void erasePrefix(std::size_t count) {
    std::memmove(bytes_.get(), bytes_.get() + count, size_ - count);
    size_ -= count;
  }

 private:
  void grow(std::size_t size) {
    const std::size_t capacity = std::max(2 * capacity_, size_ + size + 4096);
    auto bytes = std::make_unique_for_overwrite<Byte[]>(capacity);
    if (size_ > 0) std::memcpy(bytes.get(), bytes_.get(), size_);
    bytes_ = std::move(bytes);
    capacity_ = capacity;
  }

  std::unique_ptr<Byte[]> bytes_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace pellimo::tools
