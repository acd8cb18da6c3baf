#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "PlatformFiles.h"
#include "platform/FrameText.h"
#include "platform/PropertyList.h"
#include "platform/SettingsCodec.h"

namespace pellimo::platform {
namespace {

using ansi::Color;
using ansi::Font;
using Dictionary = QMap<QString, QString>;

TEST(FrameText, WritesShortestNumbersAndReadsLenientlyWithZeroForWhatItCannotRead) {
  const struct {
    const char* text;
    QRectF rect;
    bool written;  // whether the rectangle is written as this text
  } cases[] = {
      {"{{10.5, -3}, {300, 200}}", {10.5, -3, 300, 200}, true},
      {"{{0.30000000000000004, 0.3333333333333333}, {1e+21, 2.5e-07}}",
       {0.1 + 0.2, 1.0 / 3, 1e21, 2.5e-7},
       true},
      {"garbage", {}, false},
      {"{{a, 1e2}, {2E-1}}", {0, 100, 0.2, 0}, false},
      {"{{12px, 5.}, {+3, -.5}, {5, 6}}", {12, 5, 3, -0.5}, false},
      {"{{nan, inf}, {0x10, 4}}", {0, 0, 0, 4}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rectFromString(c.text), c.rect) << c.text;
    if (c.written) {
      EXPECT_EQ(stringFromRect(c.rect), c.text);
    }
  }
}

TEST(SettingsCodec, ColoursAndFontsRoundTripExactlyAndNothingElseReadsAsOne) {
  for (const Color& color : {Color::grey(1.0 / 3, 0.1 + 0.2), Color::rgb(1, 0, 5e-324, 0.7)})
    EXPECT_EQ(unarchiveColor(archiveColor(color)), color) << archiveColor(color).toStdString();
  for (const Font& font : {Font::system(), Font{"Noto Sans \u65e5\u672c", 0.1 + 0.2, 15, true}})
    EXPECT_EQ(unarchiveFont(archiveFont(font)), font);
  // Values of the other class or undecodable read as absent.
  EXPECT_EQ(unarchiveColor(archiveFont(Font::system())), std::nullopt);
  EXPECT_EQ(unarchiveFont(archiveColor(Color::white())), std::nullopt);
  const char* const colors[] = {
      "garbage",
      R"({"class":"color","model":"cmyk","components":[0,0,0,0],"alpha":1})",
      R"({"class":"color","model":"grey","components":[0,0,0],"alpha":1})",
      R"({"class":"color","model":"rgb","components":[0,"0.5",1],"alpha":1})",
      R"({"class":"color","model":"rgb","components":[0,1.5,1],"alpha":1})",
      R"({"class":"color","model":"grey","components":[0.5]})",
  };
  for (const char* text : colors)
    EXPECT_EQ(unarchiveColor(text), std::nullopt) << text;
  const char* const fonts[] = {
      R"({"class":"font","family":"Mono","pointSize":12,"weight":5})",
      R"({"class":"font","family":"Mono","pointSize":0,"weight":5,"italic":false})",
      R"({"class":"font","family":"Mono","pointSize":12,"weight":16,"italic":false})",
      R"({"class":"font","family":"Mono","pointSize":12,"weight":5.5,"italic":false})",
  };
  for (const char* text : fonts)
    EXPECT_EQ(unarchiveFont(text), std::nullopt) << text;
}

TEST(PropertyList, WrittenDictionaryReadsBackUnchangedAndOnlyStringValuesAreRead) {
  QTemporaryDir dir;
  const QString path = dir.filePath("list.plist");
  const Dictionary dictionary{{"markup", "<a href=\"x\">&amp;</a> 'q'"},
                              {"lines", "one\ntwo\tthree\r\nfour\r"},
                              {"\rkey", QString::fromUtf8("Grüße ✓ 日本")},
                              {"empty", ""}};
  ASSERT_TRUE(writeStringDictionary(path, dictionary));
  EXPECT_EQ(readStringDictionary(path), dictionary);
  // XML cannot carry a bell: writing it fails rather than leave a file that reads as nothing.
  EXPECT_FALSE(writeStringDictionary(path, {{"bell", "a\x07"}}));
  EXPECT_EQ(readStringDictionary(path), dictionary);

  const auto read = [&](const char* document) {
    EXPECT_TRUE(test::writeFile(path, document));
    return readStringDictionary(path);
  };
  EXPECT_EQ(read("<plist><dict><key>n</key><integer>3</integer><key>first</key><string>1</string>"
                 "<key>sub</key><dict><key>a</key><string>b</string></dict><key>flag</key><true/>"
                 "<key>last</key><string>2</string></dict></plist>"),
            (Dictionary{{"first", "1"}, {"last", "2"}}));
  EXPECT_EQ(readStringDictionary(dir.filePath("absent.plist")), std::nullopt);
  for (const char* document : {
           "not xml at all",
           "<plist><dict><key>a</key><string>b</string></dict>",  // unterminated
           "<plist><array><string>b</string></array></plist>",    // not a dictionary
           "<plist><dict><key>a</key></dict></plist>",            // key without value
           "<plist><dict/></plist><extra/>",                      // second root
       }) {
    EXPECT_EQ(read(document), std::nullopt) << document;
  }
}

}  // namespace
}  // namespace pellimo::platform
