// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/ReceivedBytes.h"

#include <algorithm>

namespace pellimo::runner {

namespace {

constexpr std::size_t kBlockBytes = 1024 * 1024;

bool isContinuation(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

}  // namespace

ReceivedBytes::ReceivedBytes(std::size_t maxBytes, std::size_t keptBytes)
    : maxBytes_(maxBytes), keptBytes_(keptBytes) {}

void ReceivedBytes::append(std::string_view bytes) {
  while (!bytes.empty()) {
    if (blocks_.empty() || blocks_.back().size() == blocks_.back().capacity()) {
      // Blocks grow with what is kept, so that a short output takes little room.
      blocks_.emplace_back().reserve(std::min(std::max(size_, bytes.size()), kBlockBytes));
    }
    std::string& block = blocks_.back();
    const std::size_t taken = std::min(bytes.size(), block.capacity() - block.size());
    block.append(bytes.substr(0, taken));
    bytes.remove_prefix(taken);
    size_ += taken;
  }
  if (size_ > maxBytes_) dropOldest();
}

void ReceivedBytes::dropOldest() {
  // The cut comes at the first line start after the newest `keptBytes_` begin, or failing one
  // there, at the first whole character: decoding from there gives the same text as decoding
  // everything gave from there.
  std::size_t cut = size_ - keptBytes_;
  std::size_t newline = std::string::npos;
  std::size_t blockStart = 0;
  for (const std::string& block : blocks_) {
    if (cut < blockStart + block.size()) {
      const std::size_t found = block.find('\n', cut > blockStart ? cut - blockStart : 0);
      if (found != std::string::npos) {
        newline = blockStart + found;
        break;
      }
    }
    blockStart += block.size();
  }
  if (newline != std::string::npos) {
    cut = newline + 1;
  } else {
    while (cut < size_ && isContinuation(at(cut)))
      ++cut;
  }
  while (cut > 0 && cut >= blocks_.front().size()) {
    cut -= blocks_.front().size();
    size_ -= blocks_.front().size();
    blocks_.pop_front();
  }
  if (cut == 0) return;
  blocks_.front().erase(0, cut);
  size_ -= cut;
}

char ReceivedBytes::at(std::size_t index) const {
  for (const std::string& block : blocks_) {
    if (index < block.size()) return block[index];
    index -= block.size();
  }
  return '\0';
}

}  // namespace pellimo::runner
