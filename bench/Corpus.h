// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pellimo::bench {

/// The shapes of terminal output the translator is measured on.
enum class CorpusKind {
  LsLike,    // every word coloured and reset, as `ls --color` prints file names
  Dense,     // an SGR change before every character
  Plain,     // no escape sequences at all
  Extended,  // 256-colour and truecolor selections
};

struct CorpusInfo {
  CorpusKind kind;
  std::string_view name;
  std::size_t size;  // bytes, reached or passed by at most one word
};

inline constexpr std::size_t kMiB = std::size_t{1} << 20;

inline constexpr std::array<CorpusInfo, 4> kCorpora = {{
    {CorpusKind::LsLike, "ls-like", 10 * kMiB},
    {CorpusKind::Dense, "dense", 2 * kMiB},
    {CorpusKind::Plain, "plain", 10 * kMiB},
    {CorpusKind::Extended, "extended", 5 * kMiB},
}};

std::optional<CorpusInfo> corpusNamed(std::string_view name);

/// The corpus as UTF-8 bytes; the same bytes on every run and every machine.
std::string makeCorpus(const CorpusInfo& info);

}  // namespace pellimo::bench
