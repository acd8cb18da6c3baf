#include <gtest/gtest.h>

#include <QDir>
#include <QStandardPaths>
#include <QUuid>

#include "PlatformFiles.h"
#include "platform/SettingsStore.h"

namespace pellimo::platform {
namespace {

using ansi::Color;
using ansi::Font;

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
  if (!QFile::copy(store.fileName(), configDirectory() + '/' + identifier + ".conf"))
    return nullptr;
  return std::make_unique<SettingsStore>(identifier);
}

TEST(SettingsStore, LivesInTheConfigDirectoryUnderTheBundleIdentifier) {
  EXPECT_EQ(
      SettingsStore("org.example.widget").fileName(),
      QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) + "/pellimo/org.example.widget.conf");
}

TEST(SettingsStore, EveryKindOfValueSurvivesARestart) {
  SettingsStore store(freshIdentifier());
  const QString script = QString::fromUtf8("echo \"hi, there\"\n[ok] = @x ✓\\n");
  const Font font{"DejaVu Sans Mono", 12.5, Font::kBoldWeight, true};
  store.setValue(qint64(2), "modeValue");
  store.setValue(qint64(30), "reloadAfter");
  store.setObject(script, "scriptValue");
  store.setObject("a,,b, c", "args");
  store.setObject(QString(""), "empty");
  store.setColor(Color::rgb(0.1 + 0.2, 1.0 / 3, 1, 0.5), "color");
  store.setFont(font, "codeFont");
  store.setObject("garbage", "fontColor");
  store.setObject("42", "numberText");
  ASSERT_TRUE(store.synchronize());

  const auto next = reopenAsNextRun(store);
  ASSERT_TRUE(next);
  // QVariant finds "2" equal to 2, so the types are compared: numbers, not text.
  EXPECT_EQ(next->valueForKey("modeValue").typeId(), QMetaType::LongLong);
  EXPECT_EQ(next->valueForKey("modeValue"), QVariant(qint64(2)));
  EXPECT_EQ(next->integerForKey("reloadAfter"), 30);
  EXPECT_EQ(next->valueForKey("scriptValue"), QVariant(script));
  EXPECT_EQ(next->stringForKey("args"), "a,,b, c");
  EXPECT_EQ(next->objectForKey("empty"), QVariant(QString("")));
  EXPECT_EQ(next->colorForKey("color"), Color::rgb(0.1 + 0.2, 1.0 / 3, 1, 0.5));
  EXPECT_EQ(next->fontForKey("codeFont"), font);
  // Absent, undecodable and of the wrong class all read as nothing.
  EXPECT_FALSE(next->objectForKey("frameMark").isValid());
  EXPECT_EQ(next->valueForKey("numberText").typeId(), QMetaType::QString);  // not an integer key
  EXPECT_EQ(next->integerForKey("absent"), 0);
  EXPECT_EQ(next->integerForKey("fontColor"), 0);
  EXPECT_EQ(next->colorForKey("fontColor"), std::nullopt);
  EXPECT_EQ(next->fontForKey("color"), std::nullopt);
}

TEST(SettingsStore, WipingEveryKeyOfTheDictionaryLeavesItEmpty) {
  SettingsStore store(freshIdentifier());
  store.setValue(qint64(1), "modeValue");
  store.setValue("{{1, 2}, {3, 4}}", "frameMark");
  ASSERT_TRUE(store.synchronize());
  const QVariantMap dictionary = store.dictionaryRepresentation();
  EXPECT_EQ(dictionary, (QVariantMap{{"modeValue", qint64(1)}, {"frameMark", "{{1, 2}, {3, 4}}"}}));
  for (const QString& key : dictionary.keys())
    store.removeObjectForKey(key);
  EXPECT_TRUE(store.synchronize());
  const auto next = reopenAsNextRun(store);
  ASSERT_TRUE(next);
  EXPECT_TRUE(next->dictionaryRepresentation().isEmpty());
}

TEST(SettingsStore, CorruptFileReadsAsEmptyAndIsReplacedOnTheNextWrite) {
  const QString identifier = freshIdentifier();
  const QString path = configDirectory() + '/' + identifier + ".conf";
  ASSERT_TRUE(QDir().mkpath(configDirectory()));
  ASSERT_TRUE(test::writeFile(path, "[General\nmodeValue=2\n\x01\xff"));
  SettingsStore store(identifier);
  EXPECT_TRUE(store.dictionaryRepresentation().isEmpty());
  EXPECT_TRUE(QFile::exists(path + ".corrupt"));
  store.setValue(qint64(1), "modeValue");
  EXPECT_TRUE(store.synchronize());
  const auto next = reopenAsNextRun(store);
  ASSERT_TRUE(next);
  EXPECT_EQ(next->integerForKey("modeValue"), 1);
}

TEST(SettingsStore, SynchronizeFailsWhenTheDirectoryCannotBeWritten) {
  // A file where the directory should be stops even root, who ignores permission bits.
  const QString home = configDirectory() + "/blocked";
  ASSERT_TRUE(QDir().mkpath(home));
  ASSERT_TRUE(test::writeFile(home + "/pellimo", "not a directory"));
  const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", home.toLocal8Bit());
  SettingsStore store(freshIdentifier());
  qputenv("XDG_CONFIG_HOME", saved);
  store.setValue(qint64(1), "modeValue");
  EXPECT_FALSE(store.synchronize());
}

}  // namespace
}  // namespace pellimo::platform
