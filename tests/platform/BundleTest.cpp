#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "PlatformFiles.h"
#include "platform/Bundle.h"
#include "platform/PropertyList.h"

namespace pellimo::platform {
namespace {

TEST(Bundle, BuiltInModuleIsTheMainOneAndCarriesItsManifest) {
  const Bundle& bundle = Bundle::main();
  EXPECT_EQ(bundle.bundleIdentifier(), "org.pellimo.widget");
  const QString manifestPath = bundle.pathForResource("maniffeest", "plist");
  EXPECT_EQ(manifestPath, ":/module/maniffeest.plist");
  const auto manifest = readStringDictionary(manifestPath);
  ASSERT_TRUE(manifest);
  EXPECT_EQ(manifest->size(), 8);
  for (const char* key : {"hello", "frame", "edit", "kill", "raise", "flat", "config", "clear"}) {
    EXPECT_EQ(manifest->value(key), QStringLiteral("org.pellimo.widget.") + key);
  }
  EXPECT_EQ(bundle.pathForResource("maniffeest", "json"), QString());
}

TEST(Bundle, ModuleDirectoryGivesItsIdentityAndResources) {
  QTemporaryDir dir;
  const QString moduleDir = dir.filePath("clock");
  ASSERT_TRUE(QDir().mkpath(moduleDir));
  ASSERT_TRUE(
      writeStringDictionary(moduleDir + "/module.plist", {{"identifier", "org.example.clock"}}));
  ASSERT_TRUE(writeStringDictionary(moduleDir + "/maniffeest.plist", {{"hello", "h"}}));
  const auto bundle = Bundle::fromDirectory(dir.path() + "/./clock/");
  ASSERT_TRUE(bundle);
  EXPECT_EQ(bundle->bundleIdentifier(), "org.example.clock");
  EXPECT_EQ(bundle->name(), "clock");  // none given: the directory's
  EXPECT_EQ(bundle->directory(), moduleDir);
  EXPECT_EQ(bundle->pathForResource("maniffeest", "plist"), moduleDir + "/maniffeest.plist");
  EXPECT_EQ(bundle->pathForResource("absent", "plist"), QString());
}

TEST(Bundle, DirectoryWithoutIdentityIsRefusedWithAReason) {
  QTemporaryDir dir;
  const struct {
    const char* modulePlist;  // null: no file
    const char* reason;
  } cases[] = {
      {nullptr, "no module.plist"},
      {"<plist><dict><key>name</key><string>x</string></dict></plist>", "no identifier"},
      {"<plist><dict>", "not a readable property list"},
  };
  for (const auto& c : cases) {
    QFile::remove(dir.filePath("module.plist"));
    if (c.modulePlist) {
      ASSERT_TRUE(test::writeFile(dir.filePath("module.plist"), c.modulePlist));
    }
    QString error;
    EXPECT_EQ(Bundle::fromDirectory(dir.path(), &error), std::nullopt);
    EXPECT_TRUE(error.contains(c.reason)) << error.toStdString();
  }
}

}  // namespace
}  // namespace pellimo::platform
