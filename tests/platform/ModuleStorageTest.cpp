#include <gtest/gtest.h>

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUuid>

#include "PlatformFiles.h"
#include "platform/Bundle.h"
#include "platform/PropertyList.h"
#include "platform/SettingsKeys.h"
#include "platform/SettingsStore.h"

namespace pellimo::platform {
namespace {

using ansi::Color;
using ansi::Font;

TEST(Bundle, BuiltInModuleIsTheMainOneAndItsManifestNamesItsNotifications) {
  const Bundle& bundle = Bundle::main();
  EXPECT_EQ(bundle.bundleIdentifier(), "org.pellimo.widget");
  EXPECT_TRUE(bundle.isBuiltIn());
  const auto manifest = readStringDictionary(bundle.pathForResource("maniffeest", "plist"));
  ASSERT_TRUE(manifest);
  // The names users send from a shell, spelt as the documentation spells them.
  EXPECT_EQ(manifest->size(), 8);
  for (const char* key : {"hello", "frame", "edit", "kill", "raise", "flat", "config", "clear"})
    EXPECT_EQ(manifest->value(key), QStringLiteral("org.pellimo.widget.") + key);
}

TEST(Bundle, ModuleDirectoryGivesItsIdentityAndResourcesOrTheReasonItIsNone) {
  QTemporaryDir dir;
  const QString moduleDir = dir.filePath("clock");
  const QString identity = moduleDir + "/module.plist";
  ASSERT_TRUE(QDir().mkpath(moduleDir));
  const struct {
    const char* modulePlist;  // null: no file
    const char* reason;
  } refused[] = {
      {nullptr, "no module.plist"},
      {"<plist><dict><key>name</key><string>x</string></dict></plist>", "no identifier"},
      {"<plist><dict>", "not a readable property list"},
  };
  for (const auto& c : refused) {
    if (c.modulePlist) {
      ASSERT_TRUE(test::writeFile(identity, c.modulePlist));
    }
    QString error;
    EXPECT_EQ(Bundle::fromDirectory(moduleDir, &error), std::nullopt);
    EXPECT_TRUE(error.contains(c.reason)) << error.toStdString();
  }
  ASSERT_TRUE(writeStringDictionary(identity, {{"identifier", "org.example.clock"}}));
  ASSERT_TRUE(writeStringDictionary(moduleDir + "/maniffeest.plist", {{"hello", "h"}}));
  const auto bundle = Bundle::fromDirectory(dir.path() + "/./clock/");
  ASSERT_TRUE(bundle);
  EXPECT_EQ(bundle->bundleIdentifier(), "org.example.clock");
  EXPECT_EQ(bundle->name(), "clock");  // none given: the directory's
  EXPECT_EQ(bundle->pathForResource("maniffeest", "plist"), moduleDir + "/maniffeest.plist");
  EXPECT_EQ(bundle->pathForResource("absent", "plist"), QString());
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
  if (!QFile::copy(store.fileName(), configDirectory() + '/' + identifier + ".conf"))
    return nullptr;
  return std::make_unique<SettingsStore>(identifier);
}

TEST(SettingsStore, EveryKindOfValueSurvivesARestartAndSoDoesAClear) {
  const QString identifier = freshIdentifier();
  SettingsStore store(identifier);
  EXPECT_EQ(store.fileName(), configDirectory() + '/' + identifier + ".conf");
  const QString script = QString::fromUtf8("echo \"hi, there\"\n[ok] = @x ✓\\n");
  const Font font{"DejaVu Sans Mono", 12.5, Font::kBoldWeight, true};
  const Color background = Color::rgb(0.1 + 0.2, 1.0 / 3, 1, 0.5);
  store.setValue(qint64(2), keys::kModeValue);
  store.setValue(qint64(30), keys::kReloadAfter);
  store.setObject(script, keys::kScriptValue);
  store.setObject("a,,b, c", keys::kArgs);
  store.setColor(background, keys::kColor);
  store.setFont(font, keys::kCodeFont);
  store.setObject("42", keys::kFontColor);
  store.setObject(QString(""), keys::kFrameMark);
  ASSERT_TRUE(store.synchronize());

  const auto next = reopenAsNextRun(store);
  ASSERT_TRUE(next);
  // The names earlier runs' files hold: a renamed key would lose the user's settings.
  EXPECT_EQ(next->dictionaryRepresentation().keys(),
            (QStringList{"args", "codeFont", "color", "fontColor", "frameMark", "modeValue",
                         "reloadAfter", "scriptValue"}));
  // QVariant finds "2" equal to 2, so the types are compared: numbers, not text.
  for (const auto& [key, number] : {std::pair{keys::kModeValue, 2}, {keys::kReloadAfter, 30}}) {
    EXPECT_EQ(next->valueForKey(key).typeId(), QMetaType::LongLong) << key.data();
    EXPECT_EQ(next->integerForKey(key), number);
  }
  // Numbers under other keys stay text.
  EXPECT_EQ(next->valueForKey(keys::kFontColor).typeId(), QMetaType::QString);
  EXPECT_EQ(next->colorForKey(keys::kFontColor), std::nullopt);
  EXPECT_EQ(next->stringForKey(keys::kScriptValue), script);
  EXPECT_EQ(next->stringForKey(keys::kArgs), "a,,b, c");
  EXPECT_EQ(next->objectForKey(keys::kFrameMark), QVariant(QString("")));
  EXPECT_EQ(next->colorForKey(keys::kColor), background);
  EXPECT_EQ(next->fontForKey(keys::kCodeFont), font);

  next->clear();
  ASSERT_TRUE(next->synchronize());
  const auto cleared = reopenAsNextRun(*next);
  ASSERT_TRUE(cleared);
  EXPECT_TRUE(cleared->dictionaryRepresentation().isEmpty());
}

TEST(SettingsStore, CorruptFileIsMovedAsideAndReplacedOnTheNextWrite) {
  const QString path = configDirectory() + '/' + freshIdentifier() + ".conf";
  const QByteArray damage = "[General\nmodeValue=2\n\x01\xff";
  ASSERT_TRUE(QDir().mkpath(configDirectory()));
  ASSERT_TRUE(test::writeFile(path + ".corrupt", "damaged the time before"));
  ASSERT_TRUE(test::writeFile(path, damage));
  SettingsStore store(QFileInfo(path).completeBaseName());
  EXPECT_TRUE(store.dictionaryRepresentation().isEmpty());
  QFile aside(path + ".corrupt");
  ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
  EXPECT_EQ(aside.readAll(), damage);
  store.setValue(qint64(1), keys::kModeValue);
  EXPECT_TRUE(store.synchronize());
  const auto next = reopenAsNextRun(store);
  ASSERT_TRUE(next);
  EXPECT_EQ(next->integerForKey(keys::kModeValue), 1);
}

}  // namespace
}  // namespace pellimo::platform
