// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary input through the translator: parse, styled text, encode, and parse the encoding again.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "ansi/EscapeScanner.h"
#include "ansi/EscapedTextReader.h"
#include "ansi/StyledTextStream.h"
#include "ansi/Utf8.h"
#include "ansi/VXL_ANSIEscapeHelper.h"

namespace {

using pellimo::ansi::AttributeLayer;
using pellimo::ansi::AttributeRun;
using pellimo::ansi::Color;
using pellimo::ansi::EscapeCodeRecord;
using pellimo::ansi::EscapedTextReader;
using pellimo::ansi::EscapeScanner;
using pellimo::ansi::Font;
using pellimo::ansi::StyledText;
using pellimo::ansi::StyledTextStream;
using pellimo::ansi::Utf8Decoder;
using pellimo::ansi::VXL_ANSIEscapeHelper;

// Aborting hands the input to libFuzzer (or to whoever replays it) as a crash.
void require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "violated: %s\n", what);
  std::abort();
}

/// Decodes in three pieces as well as whole: a sequence cut between pieces must wait for the rest.
std::u16string decodeChecked(std::string_view bytes) {
  std::size_t invalid = 0;
  std::u16string whole = pellimo::ansi::decodeUtf8(bytes, &invalid);

  Utf8Decoder decoder;
  std::u16string pieces;
  const std::size_t third = bytes.size() / 3;
  decoder.decode(bytes.substr(0, third), pieces);
  decoder.decode(bytes.substr(third, third), pieces);
  decoder.decode(bytes.substr(2 * third), pieces);
  decoder.finish(pieces);
  require(pieces == whole && decoder.invalidCount() == invalid, "decoding in pieces matches");

  // Decoded text holds no unpaired surrogates, so it survives encoding unchanged.
  require(pellimo::ansi::decodeUtf8(pellimo::ansi::encodeUtf8(whole)) == whole,
          "decoded text round-trips through UTF-8");
  return whole;
}

/// A leading zero byte selects raw UTF-16 units, which reach units no decoder produces.
std::u16string textOf(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || data[0] != 0) {
    return decodeChecked({reinterpret_cast<const char*>(data), size});
  }
  std::u16string units;
  for (std::size_t i = 1; i + 1 < size; i += 2) {
    units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  }
  return units;
}

/// The code the encoder chooses for every unit, one attribute at a time; also checks that the
/// layer's spans tile the text and that neighbouring spans differ.
template <class T, class Code>
std::vector<std::int32_t> unitCodes(const AttributeLayer<T>& layer, std::size_t length, Code code) {
  std::vector<std::int32_t> codes;
  codes.reserve(length);
  std::optional<T> previous;
  layer.forEach({0, length}, [&](const auto& span) {
    require(span.range.location == codes.size() && span.range.length > 0, "spans tile the text");
    require(codes.empty() || previous != span.value, "neighbouring spans differ");
    previous = span.value;
    codes.insert(codes.end(), span.range.length, code(span.value));
  });
  require(codes.size() == length, "spans cover the text");
  return codes;
}

std::array<std::vector<std::int32_t>, 4> unitCodes(const VXL_ANSIEscapeHelper& helper,
                                                   const StyledText& styled) {
  const std::size_t length = styled.length();
  auto bold = [](const std::optional<Font>& font) {
    return font && font->weight >= Font::kBoldWeight ? 1 : 22;
  };
  auto foreground = [&](const std::optional<Color>& c) {
    return helper.closestSGRCodeForColor(c, true);
  };
  auto background = [&](const std::optional<Color>& c) {
    return helper.closestSGRCodeForColor(c, false);
  };
  // No underline is encoded as "underline off", which parses back as style 0.
  auto underline = [](const std::optional<int>& style) {
    return style.value_or(pellimo::ansi::kUnderlineNone);
  };
  return {unitCodes(styled.fonts(), length, bold),
          unitCodes(styled.foregrounds(), length, foreground),
          unitCodes(styled.backgrounds(), length, background),
          unitCodes(styled.underlines(), length, underline)};
}

/// Checks one text's translation both ways and returns its styled text.
StyledText checkTranslation(const VXL_ANSIEscapeHelper& helper, std::u16string_view text) {
  std::u16string clean;
  const auto records = helper.escapeCodesForString(text, &clean);
  require(records.has_value() && clean.size() <= text.size(), "scanning gives clean text");
  std::size_t previous = 0;
  for (const EscapeCodeRecord& record : *records) {
    require(record.location >= previous && record.location <= clean.size(),
            "record locations ascend inside the clean text");
    previous = record.location;
  }
  for (const AttributeRun& run : helper.attributesForCodes(*records, clean.size())) {
    require(
        run.range.location <= clean.size() && run.range.length <= clean.size() - run.range.location,
        "every run lies inside the clean text");
  }

  const auto styled = helper.attributedStringWithANSIEscapedString(text);
  require(styled && styled->string() == clean, "styled text holds the clean text");
  const auto codes = unitCodes(helper, *styled);

  const std::u16string escaped = helper.ansiEscapedStringWithAttributedString(styled);
  const auto reparsed = helper.attributedStringWithANSIEscapedString(escaped);
  require(reparsed.has_value(), "the encoding parses");
  // The encoder copies the clean text verbatim, so an introducer left in it starts a sequence
  // when read again; only texts without one can come back unchanged.
  if (clean.find(u"\x1b[") == std::u16string::npos) {
    require(reparsed->string() == clean, "parsing the encoding gives back the clean text");
    require(unitCodes(helper, *reparsed) == codes, "parsing the encoding keeps every unit's codes");
  }
  return *styled;
}

/// Every span of a layer, in order; layers merge equal neighbours, so equal texts give equal lists.
template <class T>
using Spans = std::vector<std::tuple<std::size_t, std::size_t, std::optional<T>>>;

template <class T>
Spans<T> spansOf(const AttributeLayer<T>& layer, std::size_t length) {
  Spans<T> spans;
  layer.forEach({0, length}, [&](const auto& span) {
    spans.emplace_back(span.range.location, span.range.length, span.value);
  });
  return spans;
}

bool sameColoursAndUnderlines(const StyledText& a, const StyledText& b) {
  const std::size_t length = a.length();
  return spansOf(a.foregrounds(), length) == spansOf(b.foregrounds(), length) &&
         spansOf(a.backgrounds(), length) == spansOf(b.backgrounds(), length) &&
         spansOf(a.underlines(), length) == spansOf(b.underlines(), length);
}

/// Hands the text to `append` in pieces of `pieceLength` units.
template <class Append>
void inPieces(std::u16string_view text, std::size_t pieceLength, Append&& append) {
  for (std::size_t i = 0; i < text.size(); i += pieceLength)
    append(text.substr(i, pieceLength));
}

/// Streaming the text in pieces must give what translating it whole gives, with the stream's
/// font over all of it.
void checkStream(const VXL_ANSIEscapeHelper& helper, std::u16string_view text,
                 const StyledText& whole, std::size_t pieceLength) {
  const Font font{"Stream Sans", 9, Font::kRegularWeight, true};
  StyledTextStream stream(helper, font);
  inPieces(text, pieceLength, [&](std::u16string_view piece) { stream.append(piece); });
  stream.finish();

  const StyledText& streamed = *stream.styledText();
  require(streamed.string() == whole.string(), "streaming gives the clean text");
  Spans<Font> fontOverAll;
  if (whole.length() > 0) fontOverAll.emplace_back(0, whole.length(), font);
  require(spansOf(streamed.fonts(), whole.length()) == fontOverAll,
          "the stream's font covers the text");
  require(sameColoursAndUnderlines(streamed, whole),
          "streaming gives the colours and underlines of the whole translation");
}

/// Reading the text in pieces must hand out the clean text with the attributes, fonts included,
/// that translating it whole gives.
void checkReader(const VXL_ANSIEscapeHelper& helper, std::u16string_view text,
                 const StyledText& whole, std::size_t pieceLength) {
  StyledText read;
  EscapedTextReader reader(
      helper, std::nullopt,
      [&](std::u16string_view piece, const StyledText::Attributes& attributes) {
        read.append(piece, attributes);
      });
  inPieces(text, pieceLength, [&](std::u16string_view piece) { reader.append(piece); });
  reader.finish();

  require(read.string() == whole.string(), "reading gives the clean text");
  require(spansOf(read.fonts(), read.length()) == spansOf(whole.fonts(), whole.length()) &&
              sameColoursAndUnderlines(read, whole),
          "reading gives the attributes of the whole translation");
}

/// The clean text and each sequence's codes, with the length in UTF-16 units of the clean text
/// before it, as scanning finds them.
struct Scanned {
  std::u16string clean;
  std::vector<std::pair<std::size_t, std::vector<std::uint32_t>>> sequences;
};

template <class Char, class Feed>
Scanned scanned(Feed&& feed) {
  Scanned result;
  EscapeScanner scanner;
  auto onText = [&](std::basic_string_view<Char> text) {
    if constexpr (std::is_same_v<Char, char>) {
      result.clean += pellimo::ansi::decodeUtf8(text);
    } else {
      result.clean += text;
    }
  };
  auto onCodes = [&](std::span<const std::uint32_t> codes) {
    result.sequences.push_back({result.clean.size(), {codes.begin(), codes.end()}});
  };
  feed([&](std::basic_string_view<Char> piece) { scanner.scan(piece, onText, onCodes); });
  scanner.template finish<Char>(onText, onCodes);
  return result;
}

/// Scanning the decoder's UTF-8 form, decoded in pieces of `pieceLength` bytes, must find what
/// scanning the text as UTF-16 does: the html and parse commands read the UTF-8 form.
void checkUtf8Scan(std::u16string_view text, std::string_view bytes, std::size_t pieceLength) {
  const Scanned fromUtf16 = scanned<char16_t>([&](auto scan) { scan(text); });
  const Scanned fromUtf8 = scanned<char>([&](auto scan) {
    Utf8Decoder decoder;
    std::string utf8(Utf8Decoder::mostBytesFor(pieceLength), '\0');
    for (std::size_t i = 0; i < bytes.size(); i += pieceLength)
      scan(decoder.decodeOrPass(bytes.substr(i, pieceLength), utf8.data()));
    const char* const end = decoder.finish(utf8.data());
    scan(std::string_view(utf8.data(), static_cast<std::size_t>(end - utf8.data())));
  });
  require(fromUtf8.clean == fromUtf16.clean, "scanning UTF-8 gives the clean text");
  require(fromUtf8.sequences == fromUtf16.sequences,
          "scanning UTF-8 gives the sequences where scanning UTF-16 does");
}

VXL_ANSIEscapeHelper makeHelper() {
  VXL_ANSIEscapeHelper helper;
  // A font makes bold and faint codes produce runs; a colour outside the table sends the base
  // foreground through the nearest-colour search.
  helper.setFont(Font{"Fuzz Mono", 11, Font::kRegularWeight, false});
  helper.setDefaultStringColor(Color::rgb(0.2, 0.45, 0.7));
  return helper;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const VXL_ANSIEscapeHelper helper = makeHelper();
  const std::u16string text = textOf(data, size);
  const StyledText whole = checkTranslation(helper, text);
  // One unit at a time puts a piece boundary everywhere; thirds keep several units together.
  for (const std::size_t pieceLength : {std::size_t{1}, text.size() / 3 + 1}) {
    checkStream(helper, text, whole, pieceLength);
    checkReader(helper, text, whole, pieceLength);
  }
  if (size == 0 || data[0] != 0) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const std::size_t pieceLength : {std::size_t{1}, size / 3 + 1})
      checkUtf8Scan(text, bytes, pieceLength);
  }
  return 0;
}
