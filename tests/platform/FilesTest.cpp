// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUuid>

#include "TestSupport.h"
#include "platform/Bundle.h"
#include "platform/FrameText.h"
#include "platform/HandEditedValues.h"
#include "platform/PropertyList.h"
#include "platform/SettingsCodec.h"
#include "platform/SettingsKeys.h"
#include "platform/SettingsStore.h"

namespace pellimo::platform {
namespace {

using ansi::Color;
using ansi::Font;
using Dictionary = QMap<QString, QString>;
using test::fileContents;
using test::writeFile;

TEST(FrameText, WritesShortestNumbersAndReadsLenientlyWithZeroForWhatItCannotRead) {
  const QRectF rect(0.1 + 0.2, -3, 1e21, 2.5e-7);
  const QString text = "{{0.30000000000000004, -3}, {1e+21, 2.5e-07}}";
  EXPECT_EQ(stringFromRect(rect), text);
  for (const auto& [text, rect] : {std::pair{text, rect},
                                   {"garbage", {}},
                                   {"{{12px, 5.}, {+3, -.5}, {5, 6}}", {12, 5, 3, -0.5}},
                                   {"{{nan, 1e2}, {0x10}}", {0, 100, 0, 0}},
                                   // Only ASCII spaces and digits count, and an exponent
                                   // needs digits.
                                   {"{{\t2e, \u00a03}, {1\u0661, 4e+}}", {2, 0, 1, 4}}})
    EXPECT_EQ(rectFromString(text), rect) << text.toStdString();
}

TEST(SettingsCodec, ColoursAndFontsRoundTripExactlyAndNothingElseReadsAsOne) {
  for (const Color& color : {Color::grey(1.0 / 3, 0.1 + 0.2), Color::rgb(1, 0, 5e-324, 0.7)})
    EXPECT_EQ(unarchiveColor(archiveColor(color)), color) << archiveColor(color).toStdString();
  const Font font{"Noto Sans \u65e5\u672c", 0.1 + 0.2, 15, true};
  EXPECT_EQ(unarchiveFont(archiveFont(font)), font);
  EXPECT_EQ(unarchiveColor(archiveFont(font)), std::nullopt);
  EXPECT_EQ(unarchiveFont(archiveColor(Color::white())), std::nullopt);
  for (const char* text : {
           R"({"class":"color","model":"cmyk","components":[0,0,0,0],"alpha":1})",
           R"({"class":"color","model":"grey","components":[0,0,0],"alpha":1})",
           R"({"class":"color","model":"rgb","components":[0,1.5,1],"alpha":1})",
           R"({"class":"color","model":"grey","components":[0.5]})",
           R"({"class":"font","family":"Mono","pointSize":12,"weight":5})",
           R"({"class":"font","family":"Mono","pointSize":0,"weight":5,"italic":false})",
           R"({"class":"font","family":"Mono","pointSize":12,"weight":5.5,"italic":false})",
       }) {
    EXPECT_EQ(unarchiveColor(text), std::nullopt) << text;
    EXPECT_EQ(unarchiveFont(text), std::nullopt) << text;
  }
}

TEST(HandEditedValues, UnquotedCommasAndSemicolonsGiveTheTextAsTypedAndSayWhetherItIsSure) {
  using Found = QMap<QString, HandEditedValue>;
  const std::pair<const char*, Found> cases[] = {
      {"scriptValue=echo hello, world\n", {{"scriptValue", {"echo hello, world", true}}}},
      {"[General]\r\nargs = one,two \r\nscriptValue=ls; date ; ok\r\n",
       {{"args", {"one,two", true}}, {"scriptValue", {"ls; date ; ok", true}}}},
      {"[general]\nscriptValue=echo gr\xc3\xbc\xc3\x9f"
       "e, \xe2\x9c\x93",
       {{"scriptValue", {QString::fromUtf8("echo grüße, ✓"), true}}}},
      // INI syntax besides the cut: quotes, escapes and "@" values could mean either.
      {"scriptValue=echo \"a\", b\nargs=x;\\n\nfontColor=@Rect(1, 2)",
       {{"scriptValue", {"echo \"a\", b", false}},
        {"args", {"x;\\n", false}},
        {"fontColor", {"@Rect(1, 2)", false}}}},
      // What INI reads right: quoted, commented out, in another section, or given again.
      {"scriptValue=\"echo a, b; c\"\n; args=a,b\n[Other]\nargs=a,b\n", {}},
      {"args=a,b\nargs=c\nscriptValue=\"echo hi\" ; greeting\n", {}},
      // Quotes and a backslash carry a value over newlines; what follows is not a key.
      {"scriptValue=\"one\nargs=x,y\"\n", {}},
      {"scriptValue=one\\\r\nargs=x,y\n", {{"scriptValue", {"one\\\r\nargs=x,y", false}}}},
      {"=a,b\n[General\nargs", {}},
  };
  for (const auto& [file, found] : cases)
    EXPECT_EQ(handEditedValues(file), found) << file;
}

TEST(PropertyList, WrittenDictionaryReadsBackUnchangedAndOnlyStringValuesAreRead) {
  QTemporaryDir dir;
  const QString path = dir.filePath("list.plist");
  const Dictionary dictionary{{"markup", "<a href=\"x\">&amp;</a> 'q'"},
                              {"\rkey", QString::fromUtf8("one\ntwo\r\nGrüße ✓\r")},
                              {"empty", ""}};
  ASSERT_TRUE(writeStringDictionary(path, dictionary));
  EXPECT_EQ(readStringDictionary(path), dictionary);
  // XML cannot carry a bell: writing it fails rather than leave a file that reads as nothing.
  EXPECT_FALSE(writeStringDictionary(path, {{"bell", "a\x07"}}));
  EXPECT_EQ(readStringDictionary(path), dictionary);

  const auto read = [&](const char* document) {
    EXPECT_TRUE(writeFile(path, document));
    return readStringDictionary(path);
  };
  EXPECT_EQ(read("<plist><dict><key>n</key><integer>3</integer><key>first</key><string>1</string>"
                 "<key>sub</key><dict><key>a</key><string>b</string></dict>"
                 "<key>last</key><string>2</string></dict></plist>"),
            (Dictionary{{"first", "1"}, {"last", "2"}}));
  EXPECT_EQ(readStringDictionary(dir.filePath("absent.plist")), std::nullopt);
  for (const char* document :
       {"<plist><dict><key>a</key><string>b</string></dict>",
        "<plist><array><string>b</string></array></plist>",
        "<plist><dict><key>a</key></dict></plist>", "<plist><dict/></plist><extra/>"})
    EXPECT_EQ(read(document), std::nullopt) << document;
}

TEST(Bundle, BuiltInModuleIsTheMainOneAndItsManifestNamesItsNotifications) {
  const Bundle& bundle = Bundle::main();
  EXPECT_EQ(bundle.bundleIdentifier(), "org.pellimo.widget");
  EXPECT_TRUE(bundle.isBuiltIn());
  const auto manifest = readStringDictionary(bundle.pathForResource("maniffeest", "plist"));
  ASSERT_TRUE(manifest);
  // The names users send from a shell, spelt as the documentation spells them.
  for (const char* key : {"hello", "frame", "edit", "kill", "raise", "flat", "config", "clear"})
    EXPECT_EQ(manifest->value(key), QStringLiteral("org.pellimo.widget.") + key);
}

TEST(Bundle, ModuleDirectoryGivesItsIdentityAndResourcesOrTheReasonItIsNone) {
  QTemporaryDir dir;
  const QString moduleDir = dir.filePath("clock");
  const QString identity = moduleDir + "/module.plist";
  ASSERT_TRUE(QDir().mkpath(moduleDir));
  QString error;
  EXPECT_EQ(Bundle::fromDirectory(moduleDir, &error), std::nullopt);
  EXPECT_TRUE(error.contains("no module.plist")) << error.toStdString();
  ASSERT_TRUE(writeFile(identity, "<plist><dict><key>name</key><string>x</string></dict></plist>"));
  EXPECT_EQ(Bundle::fromDirectory(moduleDir, &error), std::nullopt);
  EXPECT_TRUE(error.contains("no identifier")) << error.toStdString();
  ASSERT_TRUE(writeStringDictionary(identity, {{"identifier", "org.example.clock"}}));
  ASSERT_TRUE(writeStringDictionary(moduleDir + "/maniffeest.plist", {{"hello", "h"}}));
  const auto bundle = Bundle::fromDirectory(dir.path() + "/./clock/");
  ASSERT_TRUE(bundle);
  EXPECT_EQ(bundle->bundleIdentifier(), "org.example.clock");
  EXPECT_EQ(bundle->name(), "clock");  // none given: the directory's
  EXPECT_EQ(bundle->pathForResource("maniffeest", "plist"), moduleDir + "/maniffeest.plist");
}

TEST(Bundle, OnlyReverseDnsIdentifiersAreTakenAndARefusalNamesTheIdentityFile) {
  QTemporaryDir dir;
  const QString identity = dir.filePath("module.plist");
  const auto load = [&](const QString& identifier, QString* error) {
    EXPECT_TRUE(writeStringDictionary(identity, {{"identifier", identifier}}));
    return Bundle::fromDirectory(dir.path(), error);
  };
  const QString longest(128, u'a');
  for (const QString& identifier :
       {QString("org.example.clock"), QString("clock"), QString("Org-9._x.y_z"), longest}) {
    QString error;
    const auto bundle = load(identifier, &error);
    ASSERT_TRUE(bundle) << error.toStdString();
    EXPECT_EQ(bundle->bundleIdentifier(), identifier);
  }
  // Settings and logs are named after the identifier: none of these may reach another folder.
  for (const QString& identifier :
       {QString("../../../evil"), QString(".."), QString("org/example"), QString(".org.example"),
        QString("org.example."), QString("org..example"), QString("org.example\n"),
        QString("org example"), QString::fromUtf8("org.b\u00e4r"), longest + 'a'}) {
    QString error;
    EXPECT_EQ(load(identifier, &error), std::nullopt) << identifier.toStdString();
    EXPECT_TRUE(error.startsWith(identity + ": identifier \"" + identifier + '"'))
        << error.toStdString();
  }
}

QString configDirectory() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/pellimo";
}

// Each test has a module of its own, hence a settings file of its own.
QString freshIdentifier() {
  return "org.pellimo.test." + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// What the next run of the module sees: the file parsed afresh. QSettings caches the files a
// process has opened, so the copy is read under another module's name.
std::unique_ptr<SettingsStore> reopenAsNextRun(const SettingsStore& store) {
  const QString identifier = freshIdentifier();
  EXPECT_TRUE(QFile::copy(store.fileName(), configDirectory() + '/' + identifier + ".conf"));
  return std::make_unique<SettingsStore>(identifier);
}

TEST(SettingsStore, EveryKindOfValueSurvivesARestartAndSoDoesAClear) {
  SettingsStore store(freshIdentifier());
  const QString script = QString::fromUtf8("echo \"hi, there\"\n[ok] = @x ✓\\n");
  const Font font{"DejaVu Sans Mono", 12.5, Font::kBoldWeight, true};
  const Color background = Color::rgb(0.1 + 0.2, 1.0 / 3, 1, 0.5);
  store.setValue(qint64(2), keys::kModeValue);
  store.setValue(qint64(30), keys::kReloadAfter);
  store.setObject(script, keys::kScriptValue);
  store.setColor(background, keys::kColor);
  store.setFont(font, keys::kCodeFont);
  store.setObject("42", keys::kFontColor);
  ASSERT_TRUE(store.synchronize());

  const auto next = reopenAsNextRun(store);
  // The names earlier runs' files hold: a renamed key would lose the user's settings.
  EXPECT_EQ(
      next->dictionaryRepresentation().keys(),
      (QStringList{"codeFont", "color", "fontColor", "modeValue", "reloadAfter", "scriptValue"}));
  // QVariant finds "2" equal to 2, so the types are compared: numbers, not text, and numbers
  // under other keys stay text.
  for (const auto& [key, type] : {std::pair{keys::kModeValue, QMetaType::LongLong},
                                  {keys::kReloadAfter, QMetaType::LongLong},
                                  {keys::kFontColor, QMetaType::QString}})
    EXPECT_EQ(next->valueForKey(key).typeId(), type) << key.data();
  EXPECT_EQ(next->integerForKey(keys::kReloadAfter), 30);
  EXPECT_EQ(next->stringForKey(keys::kScriptValue), script);
  EXPECT_EQ(next->colorForKey(keys::kColor), background);
  EXPECT_EQ(next->fontForKey(keys::kCodeFont), font);

  next->clear();
  ASSERT_TRUE(next->synchronize());
  EXPECT_TRUE(reopenAsNextRun(*next)->dictionaryRepresentation().isEmpty());
}

TEST(SettingsStore, CorruptFileIsMovedAsideAndReplacedOnTheNextWrite) {
  const QString path = configDirectory() + '/' + freshIdentifier() + ".conf";
  const QByteArray damage = "[General\nmodeValue=2\n\x01\xff";
  ASSERT_TRUE(QDir().mkpath(configDirectory()));
  ASSERT_TRUE(writeFile(path + ".corrupt", "damaged the time before"));
  ASSERT_TRUE(writeFile(path, damage));
  SettingsStore store(QFileInfo(path).completeBaseName());
  EXPECT_TRUE(store.dictionaryRepresentation().isEmpty());
  EXPECT_EQ(fileContents(path + ".corrupt"), damage);
  store.setValue(qint64(1), keys::kModeValue);
  EXPECT_TRUE(store.synchronize());
  EXPECT_EQ(reopenAsNextRun(store)->integerForKey(keys::kModeValue), 1);
}

TEST(SettingsStore, AnInvalidIdentifierNamesNoFileAndKeepsItsValuesForThisRunOnly) {
  const QString escaped = configDirectory() + "/../escaped.conf";
  {
    SettingsStore store("../escaped");
    store.setValue(qint64(2), keys::kModeValue);
    EXPECT_EQ(store.integerForKey(keys::kModeValue), 2);
    EXPECT_FALSE(store.synchronize());
  }
  EXPECT_FALSE(QFileInfo::exists(escaped));
  QFile::remove(escaped);
}

TEST(SettingsStore, HandTypedCommasAndSemicolonsReadAsTypedAndTheNextWriteQuotesThem) {
  const QString identifier = freshIdentifier();
  const QString path = configDirectory() + '/' + identifier + ".conf";
  ASSERT_TRUE(QDir().mkpath(configDirectory()));
  ASSERT_TRUE(writeFile(
      path,
      "[General]\n"
      "scriptValue=echo hello, world; date\n"
      "args=one,two\n"
      "frameMark={{10, 20}, {300, 200}}\n"
      "reloadAfter=5 ; every five seconds\n"
      "color={\"class\":\"color\",\"model\":\"grey\",\"components\":[0.5],\"alpha\":1}\n"));
  test::LoggedLines log;
  SettingsStore store(identifier);
  const auto readsAsTyped = [](const SettingsStore& settings) {
    EXPECT_EQ(settings.stringForKey(keys::kScriptValue), "echo hello, world; date");
    EXPECT_EQ(settings.stringForKey(keys::kArgs), "one,two");
    EXPECT_EQ(rectFromString(settings.stringForKey(keys::kFrameMark)), QRectF(10, 20, 300, 200));
    EXPECT_EQ(settings.integerForKey(keys::kReloadAfter), 5);
    EXPECT_EQ(settings.colorForKey(keys::kColor), Color::grey(0.5));
  };
  readsAsTyped(store);
  // One line for the value whose quotes could have been meant as INI's.
  const QStringList warnings = log.containing("pellimo-widget:");
  ASSERT_EQ(warnings.size(), 1) << warnings.join('\n').toStdString();
  EXPECT_TRUE(warnings[0].contains("\"color\"") && warnings[0].contains("color=\""))
      << warnings[0].toStdString();

  store.setValue(qint64(1), keys::kModeValue);
  ASSERT_TRUE(store.synchronize());
  readsAsTyped(*reopenAsNextRun(store));
}

TEST(SettingsStore, FilesAreOnlyTheUsersAndLooserOnesAreTightenedWhenOpened) {
  const QString identifier = freshIdentifier();
  const QString path = configDirectory() + '/' + identifier + ".conf";
  {
    SettingsStore store(identifier);
    store.setValue("echo $TOKEN", keys::kScriptValue);
    ASSERT_TRUE(store.synchronize());
    EXPECT_EQ(test::fileMode(path), 0600u);
    EXPECT_EQ(test::fileMode(configDirectory()), 0700u);
  }
  // As earlier versions left them.
  ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);
  ASSERT_EQ(::chmod(QFile::encodeName(configDirectory()).constData(), 0755), 0);
  const SettingsStore reopened(identifier);
  EXPECT_EQ(test::fileMode(path), 0600u);
  EXPECT_EQ(test::fileMode(configDirectory()), 0700u);
  EXPECT_EQ(reopened.stringForKey(keys::kScriptValue), "echo $TOKEN");
}

TEST(SettingsStore, AFileThatCannotBeReadOrWrittenIsReportedWithTheReasonAndLeftAlone) {
  // What stands in for an unreadable file: tests run as root, which reads any file.
  const QString identifier = freshIdentifier();
  const QString path = configDirectory() + '/' + identifier + ".conf";
  ASSERT_TRUE(QDir().mkpath(path + "/kept"));
  test::LoggedLines log;
  SettingsStore store(identifier);
  EXPECT_TRUE(store.dictionaryRepresentation().isEmpty());
  const QStringList warnings = log.containing("pellimo-widget: cannot read " + path + ": ");
  EXPECT_EQ(warnings.size(), 1) << log.lines().join('\n').toStdString();
  store.setValue("echo new", keys::kScriptValue);
  EXPECT_FALSE(store.synchronize());
  EXPECT_TRUE(store.errorString().startsWith("cannot open " + path + " for writing: "))
      << store.errorString().toStdString();
  EXPECT_TRUE(QFileInfo(path + "/kept").isDir());
}

}  // namespace
}  // namespace pellimo::platform
