// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "ansi/Utf8.h"
#include "tools/Commands.h"
#include "tools/HtmlPage.h"
#include "tools/HtmlTranslator.h"

namespace pellimo::tools {
namespace {

/// The part of the page between <pre> and </pre>.
std::string body(const std::string& page) {
  const auto begin = page.find("<pre>\n") + 6;
  return page.substr(begin, page.find("</pre>") - begin);
}

TEST(HtmlPage, OpensASpanOnlyWhereTheLookChanges) {
  const std::pair<std::u16string, std::string> cases[] = {
      {u"<a&b> \U0001F600 déjà", "&lt;a&amp;b&gt; \U0001F600 déjà"},
      // Tab and line breaks stay; other control characters may not appear in HTML text.
      {u"a\x1b\a\x7f\tb\r\n", "a\tb\r\n"},
      // Grey black and RGB black differ as values but not on the page: one span.
      {u"\x1b[30mab\x1b[38;2;0;0;0mcd\x1b[0me", "<span style=\"color:#000000\">abcd</span>e"},
      {u"\x1b[1;4mA\x1b[21mB\x1b[22mC\x1b[0mD",
       "<span class=\"b u\">A</span><span class=\"b uu\">B</span><span class=\"uu\">C</span>D"},
      {u"\x1b[44;38;2;255;128;0mx\x1b[49my",
       "<span style=\"color:#ff8000;background:#0000ff\">x</span>"
       "<span style=\"color:#ff8000\">y</span>"},
      {u"\x1b[90m\x1b[2J<\x1b[39m", "<span style=\"color:#565656\">&lt;</span>"},
      // Palette and RGB selections of one ground in turn; the first sixteen are the table's.
      {u"\x1b[38;5;196ma\x1b[38;2;1;2;3mb\x1b[38;5;196mc\x1b[38;5;9md\x1b[91me\x1b[48;5;9mf",
       "<span style=\"color:#ff0000\">a</span><span style=\"color:#010203\">b</span>"
       "<span style=\"color:#ff0000\">c</span><span style=\"color:#ff9999\">de</span>"
       "<span style=\"color:#ff9999;background:#ff9999\">f</span>"},
  };
  for (const auto& [escaped, html] : cases) {
    EXPECT_EQ(body(htmlCommand(escaped, {})), html) << html;
  }
}

TEST(HtmlPage, KeepsEveryCharacterWhereverItFallsInLongText) {
  // Runs of plain text are copied many units at a time and long text in slices: a character
  // that needs escaping, one to leave out or one in two units may fall anywhere among them.
  for (std::size_t at = 0; at <= 17; ++at) {
    std::u16string text(32, u'a');
    text.insert(at, u">\x7f");
    EXPECT_EQ(body(htmlCommand(text, {})),
              std::string(at, 'a') + "&gt;" + std::string(32 - at, 'a'))
        << at;
  }
  // Words between sequences are copied a block at a time where the input goes on far enough.
  for (std::size_t length = 1; length <= 16; ++length) {
    for (std::size_t at = 0; at < length; ++at) {
      std::u16string word(length, u'w');
      word[at] = u'&';
      const std::string html = std::string(at, 'w') + "&amp;" + std::string(length - at - 1, 'w');
      EXPECT_EQ(body(htmlCommand(u"\x1b[1m" + word + u"\x1b[0m" + word, {})),
                "<span class=\"b\">" + html + "</span>" + html)
          << length << " " << at;
    }
  }
  for (std::size_t at : {4094, 4095, 4096, 8191}) {
    const std::u16string text =
        std::u16string(at, u'x') + u"\U0001F600<" + std::u16string(20, u'y');
    EXPECT_EQ(body(htmlCommand(text, {})),
              std::string(at, 'x') + "\U0001F600&lt;" + std::string(20, 'y'))
        << at;
  }
}

TEST(HtmlPage, AnySplitOfTheInputGivesTheSamePage) {
  const std::string samples[] = {
      "a\x1b[1;31mred\x1b[0m \x1b[48;5;17;38;2;1;2;3mx\x1b[2Jy\x1b[4;21mz\x1b[",
      "\x1b[00000000000000000000000000000000031mlong\x1b[3:2mcolon\x1b[31", "\x1b[", "\x1b[31m\x1b",
      "\xc3\xa9\x1b[4m\xf0\x9f\x98\x80"};
  for (const std::string& sample : samples) {
    std::string whole;
    HtmlTranslator translator({}, [&whole](std::string_view piece) { whole.append(piece); });
    translator.append(sample);
    translator.finish();
    EXPECT_EQ(whole, htmlCommand(ansi::decodeUtf8(sample), {}));
    for (std::size_t split = 0; split <= sample.size(); ++split) {
      // Pieces of valid UTF-8, as the decoder hands them over.
      if (split < sample.size() && (sample[split] & 0xC0) == 0x80) continue;
      std::string page;
      HtmlTranslator pieces({}, [&page](std::string_view piece) { page.append(piece); });
      pieces.append(std::string_view(sample).substr(0, split));
      pieces.append(std::string_view(sample).substr(split));
      pieces.finish();
      EXPECT_EQ(page, whole) << "split at " << split;
    }
  }
}

TEST(HtmlPage, UsesTheOptionsForThePage) {
  const std::string page =
      htmlCommand(u"\x1b[31mred\x1b[42mgreen", {"<b>&", CssColor{0xff0000}, CssColor{0x00ff00}});
  EXPECT_NE(page.find("<title>&lt;b&gt;&amp;</title>"), std::string::npos);
  EXPECT_NE(page.find("body{margin:0;background:#00ff00;color:#ff0000}"), std::string::npos);
  // Colours equal to the page's own need no span.
  EXPECT_EQ(body(page), "redgreen");
}

TEST(CssColor, RoundsClampsAndParses) {
  EXPECT_EQ(cssColorOf(ansi::Color::grey(0.337)), CssColor{0x565656});
  EXPECT_EQ(cssColorOf(ansi::Color::rgb(1.5, -0.2, 0.5)), CssColor{0xff0080});
  EXPECT_EQ(parseCssColor("#f80"), CssColor{0xff8800});
  EXPECT_EQ(parseCssColor("#1E1e1E"), CssColor{0x1e1e1e});
  for (const char* bad : {"", "#", "ff8800", "#ff880", "#ff88000", "#gg0000", "red"}) {
    EXPECT_EQ(parseCssColor(bad), std::nullopt) << bad;
  }
}

}  // namespace
}  // namespace pellimo::tools
