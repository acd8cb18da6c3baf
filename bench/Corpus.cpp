// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/Corpus.h"

#include <cstdint>

namespace pellimo::bench {

namespace {

/// SplitMix64: the standard distributions differ between library implementations, so the
/// corpora draw from a generator whose every output is fixed. Draws stay in statements of their
/// own, since the order in which a compiler evaluates operands is unspecified.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  /// A number in [0, bound).
  unsigned below(unsigned bound) { return static_cast<unsigned>(next() % bound); }
  template <class T, std::size_t N>
  const T& pick(const std::array<T, N>& items) {
    return items[below(N)];
  }

 private:
  std::uint64_t state_;
};

constexpr std::array<std::string_view, 24> kSyllables = {
    "ba",  "con",  "fig", "lib", "src", "test",  "doc", "run", "pel", "li",    "mo", "ker",
    "nel", "util", "x",   "dat", "log", "cache", "tmp", "bin", "usr", "share", "io", "net"};
constexpr std::array<std::string_view, 8> kExtensions = {"",   "",    ".txt", ".cpp",
                                                         ".h", ".sh", ".png", ".tar.gz"};
// Words outside ASCII keep the decoder's multi-byte path in the measurement.
constexpr std::array<std::string_view, 6> kNonAscii = {"café",  "naïve",  "→",
                                                       "größe", "日本語", "😀"};

std::string word(Random& random) {
  if (random.below(40) == 0) return std::string(random.pick(kNonAscii));
  std::string w;
  for (unsigned n = 1 + random.below(3); n > 0; --n)
    w += random.pick(kSyllables);
  w += random.pick(kExtensions);
  return w;
}

/// Appends `unit` until the text reaches its size, breaking lines every few units.
template <class Unit>
std::string build(const CorpusInfo& info, std::uint64_t seed, unsigned unitsPerLine,
                  std::string_view separator, Unit&& unit) {
  Random random(seed);
  std::string text;
  text.reserve(info.size + 256);
  for (unsigned column = 0; text.size() < info.size; ++column) {
    if (column == unitsPerLine) {
      text += '\n';
      column = 0;
    } else if (column > 0) {
      text += separator;
    }
    unit(random, text);
  }
  return text;
}

void lsEntry(Random& random, std::string& text) {
  // The styles dircolors gives directories, executables, links, archives, images and devices.
  constexpr std::array<std::string_view, 7> kStyles = {"01;34", "01;32", "01;36",   "01;31",
                                                       "01;35", "00",    "40;33;01"};
  text += "\x1b[";
  text += random.pick(kStyles);
  text += 'm';
  text += word(random);
  text += "\x1b[0m";
}

void denseCharacter(Random& random, std::string& text) {
  const unsigned choice = random.below(10);
  const unsigned hue = random.below(8);
  const unsigned foreground = (random.below(2) ? 90 : 30) + hue;
  text += "\x1b[";
  if (choice < 6) {
    text += std::to_string(foreground);
  } else if (choice < 8) {
    text += std::to_string(foreground) + ';' + std::to_string(40 + random.below(8));
  } else if (choice < 9) {
    text += random.below(2) ? "1" : "22";
  } else {
    text += random.pick(std::array<std::string_view, 3>{"4", "21", "24"});
  }
  text += 'm';
  text += static_cast<char>('a' + random.below(26));
}

void plainWord(Random& random, std::string& text) {
  text += word(random);
}

void extendedWord(Random& random, std::string& text) {
  auto levels = [&](int count) {
    std::string list;
    for (int i = 0; i < count; ++i) {
      if (i > 0) list += ';';
      list += std::to_string(random.below(256));
    }
    return list;
  };
  const unsigned choice = random.below(10);
  text += "\x1b[";
  if (choice < 4) {
    text += "38;5;" + levels(1);
  } else if (choice < 6) {
    text += "48;5;" + levels(1);
    text += ";38;5;" + levels(1);
  } else if (choice < 9) {
    text += "38;2;" + levels(3);
  } else {
    text += "48;2;" + levels(3);
  }
  text += 'm';
  text += word(random);
  text += "\x1b[0m";
}

}  // namespace

std::optional<CorpusInfo> corpusNamed(std::string_view name) {
  for (const CorpusInfo& info : kCorpora) {
    if (info.name == name) return info;
  }
  return std::nullopt;
}

std::string makeCorpus(const CorpusInfo& info) {
  switch (info.kind) {
    case CorpusKind::LsLike:
      return build(info, 1, 6, "  ", lsEntry);
    case CorpusKind::Dense:
      return build(info, 2, 80, "", denseCharacter);
    case CorpusKind::Plain:
      return build(info, 3, 12, " ", plainWord);
    case CorpusKind::Extended:
      return build(info, 4, 8, " ", extendedWord);
  }
  return {};
}

}  // namespace pellimo::bench
