#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "PlatformFiles.h"
#include "platform/PropertyList.h"

namespace pellimo::platform {
namespace {

using Dictionary = QMap<QString, QString>;

class PropertyListTest : public ::testing::Test {
 protected:
  std::optional<Dictionary> read(const QByteArray& document) {
    EXPECT_TRUE(test::writeFile(path, document));
    return readStringDictionary(path);
  }

  QTemporaryDir dir;
  const QString path = dir.filePath("list.plist");
};

TEST_F(PropertyListTest, WrittenDictionaryReadsBackUnchanged) {
  const Dictionary dictionary{{"identifier", "org.example.widget"},
                              {"empty", ""},
                              {"markup", "<a href=\"x\">&amp;</a> 'q'"},
                              {"lines", "one\ntwo\tthree\r\nfour\r"},
                              {"\rkey", QString::fromUtf8("Grüße ✓ 日本")}};
  ASSERT_TRUE(writeStringDictionary(path, dictionary));
  EXPECT_EQ(readStringDictionary(path), dictionary);
  EXPECT_FALSE(writeStringDictionary(dir.filePath("bell.plist"), {{"bell", "a\x07"}}));
  EXPECT_FALSE(QFile::exists(dir.filePath("bell.plist")));
}

TEST_F(PropertyListTest, MissingOrMalformedFilesReadAsNothing) {
  EXPECT_EQ(readStringDictionary(dir.filePath("absent.plist")), std::nullopt);
  const char* const documents[] = {
      "",
      "not xml at all",
      "<plist><dict><key>a</key><string>b</string></dict>",  // unterminated
      "<plist><array><string>b</string></array></plist>",    // not a dictionary
      "<dict><key>a</key><string>b</string></dict>",         // no plist element
      "<plist><dict><key>a</key></dict></plist>",            // key without value
      "<plist><dict><string>b</string></dict></plist>",      // value without key
      "<plist><dict/></plist><extra/>",                      // second root
  };
  for (const char* document : documents)
    EXPECT_EQ(read(document), std::nullopt) << document;
  EXPECT_EQ(read("<plist version=\"1.0\"><dict/></plist>"), Dictionary{});
}

TEST_F(PropertyListTest, NonStringValuesAreSkipped) {
  const auto dictionary = read(R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0"><dict>
  <key>number</key><integer>3</integer>
  <key>first</key><string>1</string>
  <key>flag</key><true/>
  <key>nested</key><dict><key>inner</key><string>hidden</string></dict>
  <key>last</key><string>2</string>
</dict></plist>)");
  EXPECT_EQ(dictionary, (Dictionary{{"first", "1"}, {"last", "2"}}));
}

}  // namespace
}  // namespace pellimo::platform
