// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "ansi/Utf8.h"

namespace pellimo::ansi {
namespace {

TEST(Utf8, CodesEveryLengthAndSurrogatePairsAndEncodesALoneSurrogateAsReplacement) {
  EXPECT_EQ(decodeUtf8("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), u"a\u00E9\u20AC\U0001F600");
  EXPECT_EQ(encodeUtf8(u"a\u00E9\u20AC\U0001F600"), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  EXPECT_EQ(encodeUtf8(std::u16string{u'a', char16_t(0xD800), u'b'}), "a\xEF\xBF\xBD\x62");
}

TEST(Utf8, EachInvalidByteBecomesOneReplacementInUtf16AndInUtf8) {
  const struct {
    std::string bytes;
    std::u16string text;
    std::size_t invalid;
  } cases[] = {
      {"a\xFF\x62\xC0\xAF\x63", u"a\uFFFDb\uFFFD\uFFFDc", 3},
      {"\xE0\x80\x80", u"\uFFFD", 1},      // overlong
      {"\xED\xA0\x80", u"\uFFFD", 1},      // surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD", 1},  // beyond Unicode
      {"\xE2\x82\x41", u"\uFFFDA", 1},     // the byte that broke a sequence is read again
      {"\xE2\x82", u"\uFFFD", 1},
  };
  for (const auto& c : cases) {
    std::size_t invalid = 0;
    EXPECT_EQ(decodeUtf8(c.bytes, &invalid), c.text) << c.bytes;
    EXPECT_EQ(invalid, c.invalid) << c.bytes;

    Utf8Decoder decoder;
    std::string repaired(Utf8Decoder::mostBytesFor(c.bytes.size()), '\0');
    char* end = decoder.finish(decoder.decode(c.bytes, repaired.data()));
    repaired.resize(static_cast<std::size_t>(end - repaired.data()));
    EXPECT_EQ(repaired, encodeUtf8(c.text)) << c.bytes;
    EXPECT_EQ(decoder.invalidCount(), c.invalid) << c.bytes;
  }
}

TEST(Utf8, CharacterCutBetweenPiecesWaitsForItsRest) {
  Utf8Decoder decoder;
  std::u16string out;
  decoder.decode("x\xF0\x9F", out);
  EXPECT_EQ(out, u"x");
  decoder.decode("\x98\x80y", out);
  decoder.finish(out);
  EXPECT_EQ(out, u"x\U0001F600y");
  EXPECT_EQ(decoder.invalidCount(), 0u);
}

TEST(Utf8, WellFormedPiecesPassUncopiedAndOthersComeRepairedOrWaiting) {
  Utf8Decoder decoder;
  std::string room(Utf8Decoder::mostBytesFor(16), '\0');
  const std::string_view wellFormed = "caf\xC3\xA9 \xE2\x82\xAC";
  EXPECT_EQ(decoder.decodeOrPass(wellFormed, room.data()).data(), wellFormed.data());
  EXPECT_EQ(decoder.decodeOrPass("x\xF0\x9F", room.data()), "x");
  EXPECT_EQ(decoder.decodeOrPass("\x98\x80y", room.data()), "\xF0\x9F\x98\x80y");
  EXPECT_EQ(decoder.decodeOrPass("a\xFF\x62\xE0\x80\x80", room.data()),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD");
  EXPECT_EQ(decoder.invalidCount(), 2u);
}

}  // namespace
}  // namespace pellimo::ansi
