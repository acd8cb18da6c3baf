// SPDX-License-Identifier: GPL-3.0-or-later
// Writes one benchmark corpus to stdout, so that other programs can be timed on the same bytes.
#include <cstdio>
#include <string>

#include "bench/Corpus.h"

int main(int argc, char** argv) {
  const auto info = argc == 2 ? pellimo::bench::corpusNamed(argv[1]) : std::nullopt;
  if (!info) {
    std::fprintf(stderr, "usage: pellimo-corpus NAME\nnames:");
    for (const auto& corpus : pellimo::bench::kCorpora) {
      std::fprintf(stderr, " %.*s", static_cast<int>(corpus.name.size()), corpus.name.data());
    }
    std::fprintf(stderr, "\n");
    return 2;
  }
  const std::string text = pellimo::bench::makeCorpus(*info);
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
    std::perror("pellimo-corpus");
    return 1;
  }
  return 0;
}
