#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdlib>

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
  for (const auto& [mode, extension, text] : scripts) {
    ASSERT_TRUE(load(text, mode));
    QFile file(*runner->sourceFileName());
    const QRegularExpression form("^" + QRegularExpression::escape(directory + "/Pellimo.") +
                                  "[A-Za-z0-9]{6}\\." + extension + "$");
    EXPECT_TRUE(form.match(file.fileName()).hasMatch()) << file.fileName().toStdString();
    EXPECT_EQ(permissionsOf(file.fileName()), 0777u);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), text.toUtf8());
  }
  // Every file is new, and the old ones stay.
  EXPECT_EQ(QDir(directory).entryList(QDir::Files).size(), 1 + std::size(scripts));
  EXPECT_EQ(permissionsOf(directory), 0700u);
}

TEST_F(RunnerTest, HostileScriptDirectoriesAreRefused) {
  ASSERT_TRUE(load("echo kept"));
  const QString kept = *runner->sourceFileName();
  // What each case puts where the script directory goes, in a runtime directory of its own.
  const char* hostile[] = {
      "mkdir -m 700 ../elsewhere && ln -s ../elsewhere pellimo",
      "touch pellimo",
      "mkdir -m 700 pellimo && chown 65534:65534 pellimo",
      "mkdir -m 705 pellimo",
  };
  for (const char* arrange : hostile) {
    const QTemporaryDir named(runtime.path() + "/case-XXXXXX");
    ASSERT_EQ(std::system(qPrintable(QStringLiteral("cd '%1' && %2").arg(named.path(), arrange))),
              0);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(named.path()));
    canvas.setPlainText({});
    EXPECT_FALSE(load("echo new")) << arrange;
    EXPECT_EQ(canvas.plainText(), "Error creating temporary file.") << arrange;
    EXPECT_EQ(runner->sourceFileName(), kept) << arrange;
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
