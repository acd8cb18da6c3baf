#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <functional>

#include "RunnerFixture.h"

namespace pellimo::test {
namespace {

mode_t permissionsOf(const QString& path) {
  struct stat info {};
  return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST_F(RunnerTest, EachPrepareWritesTheExactTextToANewFileNamedForItsLanguageAndOpenToAll) {
  const QString directory = runtime.path() + "/pellimo";
  const std::tuple<qint64, QString, QString> scripts[] = {
      {0, "sh", "echo 'gr\u00fc\u00dfe \u20ac \U0001F600'\r\n"},
      {1, "rb", ""},
      {2, "py", "no end"}};
  QStringList written;
  for (const auto& [mode, extension, text] : scripts) {
    ASSERT_TRUE(load(text, mode));
    QFile file(*runner->sourceFileName());
    const QFileInfo info(file);
    const QRegularExpression form(
        QStringLiteral(R"(^Pellimo\.[A-Za-z0-9]{6}\.%1$)").arg(extension));
    EXPECT_TRUE(form.match(info.fileName()).hasMatch()) << extension.toStdString();
    EXPECT_EQ(info.absolutePath(), directory);
    EXPECT_EQ(permissionsOf(file.fileName()), 0777u);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), text.toUtf8());
    written.append(file.fileName());
  }
  // Every file is new, and the old ones stay.
  EXPECT_EQ(QDir(directory).entryList(QDir::Files).size(), 1 + written.size());
  EXPECT_EQ(permissionsOf(directory), 0700u);
}

TEST_F(RunnerTest, HostileScriptDirectoriesAreRefused) {
  ASSERT_TRUE(load("echo kept"));
  const QString kept = *runner->sourceFileName();
  const QByteArray elsewhere = QFile::encodeName(runtime.path() + "/elsewhere");
  ASSERT_EQ(::mkdir(elsewhere.constData(), 0700), 0);
  // What each puts at the script directory's place, in a runtime directory of its own.
  const std::function<void(const char*)> hostile[] = {
      [&](const char* path) { ASSERT_EQ(::symlink(elsewhere.constData(), path), 0); },
      [](const char* path) { ::close(::creat(path, 0600)); },
      [](const char* path) {
        ::mkdir(path, 0700);
        ASSERT_EQ(::chown(path, 65534, 65534), 0);
      },
      [](const char* path) {
        ::mkdir(path, 0700);
        ::chmod(path, 0705);
      },
  };
  for (int index = 0; index < 4; ++index) {
    const QString named = runtime.path() + QStringLiteral("/case%1").arg(index);
    ASSERT_TRUE(QDir().mkdir(named));
    hostile[index](QFile::encodeName(named + "/pellimo").constData());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(named));
    canvas.setPlainText({});
    EXPECT_FALSE(load("echo new")) << index;
    EXPECT_EQ(canvas.plainText(), "Error creating temporary file.") << index;
    EXPECT_EQ(runner->sourceFileName(), kept) << index;
  }
}

TEST_F(RunnerTest, WithoutARuntimeDirectoryScriptsGoToAPrivateTemporaryDirectory) {
  const QByteArray savedTemp = qgetenv("TMPDIR");
  qunsetenv("XDG_RUNTIME_DIR");
  qputenv("TMPDIR", QFile::encodeName(runtime.path()));
  const bool loaded = load("echo hi");
  qputenv("TMPDIR", savedTemp);
  ASSERT_TRUE(loaded);
  const QString directory = runtime.path() + QStringLiteral("/pellimo-%1").arg(::getuid());
  EXPECT_EQ(QFileInfo(*runner->sourceFileName()).absolutePath(), directory);
  EXPECT_EQ(permissionsOf(directory), 0700u);
}

}  // namespace
}  // namespace pellimo::test
