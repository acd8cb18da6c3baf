// SPDX-License-Identifier: GPL-3.0-or-later
// Throughput of the translator in both directions, in bytes of ANSI input per second.
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include <benchmark/benchmark.h>

#include "ansi/Utf8.h"
#include "ansi/VXL_ANSIEscapeHelper.h"
#include "bench/Corpus.h"

namespace {

using pellimo::ansi::StyledText;
using pellimo::ansi::VXL_ANSIEscapeHelper;
using pellimo::bench::CorpusInfo;
using pellimo::bench::CorpusKind;

VXL_ANSIEscapeHelper makeHelper() {
  VXL_ANSIEscapeHelper helper;
  // With a font, bold codes produce font runs, so the font layer carries real stretches.
  helper.setFont(pellimo::ansi::Font{"DejaVu Sans Mono", 12, pellimo::ansi::Font::kRegularWeight});
  return helper;
}

// The benchmark functions run several times while the library settles on an iteration count;
// the inputs are built once.
const std::string& corpus(const CorpusInfo& info) {
  static std::map<CorpusKind, std::string> cache;
  auto found = cache.find(info.kind);
  if (found == cache.end()) {
    found = cache.emplace(info.kind, pellimo::bench::makeCorpus(info)).first;
  }
  return found->second;
}

const std::optional<StyledText>& parsed(const CorpusInfo& info) {
  static std::map<CorpusKind, std::optional<StyledText>> cache;
  auto found = cache.find(info.kind);
  if (found == cache.end()) {
    const std::u16string text = pellimo::ansi::decodeUtf8(corpus(info));
    auto styled = makeHelper().attributedStringWithANSIEscapedString(text);
    found = cache.emplace(info.kind, std::move(styled)).first;
  }
  return found->second;
}

void parse(benchmark::State& state, const CorpusInfo& info) {
  const VXL_ANSIEscapeHelper helper = makeHelper();
  const std::string& bytes = corpus(info);
  for (auto _ : state) {
    auto styled = helper.attributedStringWithANSIEscapedString(pellimo::ansi::decodeUtf8(bytes));
    benchmark::DoNotOptimize(styled);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void encode(benchmark::State& state, const CorpusInfo& info) {
  const VXL_ANSIEscapeHelper helper = makeHelper();
  const std::optional<StyledText>& styled = parsed(info);
  for (auto _ : state) {
    auto escaped = helper.ansiEscapedStringWithAttributedString(styled);
    benchmark::DoNotOptimize(escaped);
  }
  // Counted against the corpus the styled text came from, so both directions compare directly.
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * corpus(info).size()));
}

}  // namespace

int main(int argc, char** argv) {
  for (const CorpusInfo& info : pellimo::bench::kCorpora) {
    const std::string name(info.name);
    benchmark::RegisterBenchmark(("parse/" + name).c_str(), parse, info)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("encode/" + name).c_str(), encode, info)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
