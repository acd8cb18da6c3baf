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
  if (::lstat(QFile::encodeName(path).constData(), &info) != 0) return 0;
  return info.st_mode & 07777;
}

QByteArray contentsOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

TEST_F(RunnerTest, ScriptFilesAreNamedForTheirLanguageAndOpenToAll) {
  const QRegularExpression form(QStringLiteral(R"(^Pellimo\.[A-Za-z0-9]{6}\.(sh|rb|py)$)"));
  const std::pair<qint64, QString> languages[] = {{0, "sh"}, {1, "rb"}, {2, "py"}};
  for (const auto& [mode, extension] : languages) {
    ASSERT_TRUE(load(QStringLiteral("echo hi"), mode)) << mode;
    const QFileInfo file(*runner().sourceFileName());
    EXPECT_EQ(file.absolutePath(), runtimePath() + "/pellimo");
    EXPECT_TRUE(form.match(file.fileName()).hasMatch()) << file.fileName().toStdString();
    EXPECT_EQ(file.suffix(), extension);
    EXPECT_EQ(permissionsOf(file.filePath()), 0777u);
  }
  EXPECT_EQ(permissionsOf(runtimePath() + "/pellimo"), 0700u);
  EXPECT_TRUE(canvas.shown.isEmpty());
}

TEST_F(RunnerTest, EachPrepareWritesTheTextAsExactUtf8ToANewFileAndKeepsTheOldOne) {
  const QString scripts[] = {
      QString(),
      QStringLiteral("echo 'gr\u00fc\u00dfe \u20ac \U0001F600'"),
      QStringLiteral("no line end"),
      QStringLiteral("windows\r\nline ends\r\n"),
  };
  QStringList written;
  for (const QString& script : scripts) {
    ASSERT_TRUE(load(script));
    EXPECT_FALSE(written.contains(*runner().sourceFileName()));
    written.append(*runner().sourceFileName());
  }
  for (int i = 0; i < written.size(); ++i) {
    EXPECT_EQ(contentsOf(written[i]), scripts[i].toUtf8()) << scripts[i].toStdString();
  }
}

TEST_F(RunnerTest, OtherLanguageTagsWriteNothing) {
  ASSERT_TRUE(load(QStringLiteral("echo kept")));
  const QString kept = *runner().sourceFileName();
  const QDir directory(runtimePath() + "/pellimo");
  const QStringList files = directory.entryList(QDir::Files);
  for (const qint64 mode : {3, -1, 7}) {
    EXPECT_FALSE(load(QStringLiteral("echo other"), mode)) << mode;
    EXPECT_EQ(runner().sourceFileName(), kept);
  }
  EXPECT_EQ(directory.entryList(QDir::Files), files);
  EXPECT_TRUE(canvas.shown.isEmpty());
}

TEST_F(RunnerTest, AnUnusableScriptDirectoryIsReportedOnTheCanvas) {
  ASSERT_TRUE(load(QStringLiteral("echo kept")));
  const QString kept = *runner().sourceFileName();
  struct Case {
    const char* what;
    std::function<void(const QString& runtime)> arrange;
    QString runtimeEntry;  // what XDG_RUNTIME_DIR names, relative to the case's directory
  };
  const QString elsewhere = runtimePath() + "/elsewhere";
  ASSERT_TRUE(QDir().mkdir(elsewhere));
  ::chmod(QFile::encodeName(elsewhere).constData(), 0700);
  const Case cases[] = {
      {"the runtime directory is a file",
       [](const QString& runtime) { QFile(runtime + "/file").open(QIODevice::WriteOnly); }, "file"},
      {"a symbolic link to a private directory",
       [&](const QString& runtime) { QFile::link(elsewhere, runtime + "/pellimo"); }, ""},
      {"a directory of another user",
       [](const QString& runtime) {
         const QByteArray path = QFile::encodeName(runtime + "/pellimo");
         ::mkdir(path.constData(), 0700);
         ASSERT_EQ(::chown(path.constData(), 65534, 65534), 0);
       },
       ""},
      {"a directory open to others",
       [](const QString& runtime) {
         const QByteArray path = QFile::encodeName(runtime + "/pellimo");
         ::mkdir(path.constData(), 0700);
         ::chmod(path.constData(), 0777);
       },
       ""},
      {"a file in its place",
       [](const QString& runtime) { QFile(runtime + "/pellimo").open(QIODevice::WriteOnly); }, ""},
  };
  int index = 0;
  for (const Case& hostile : cases) {
    const QString runtime = runtimePath() + QStringLiteral("/case%1").arg(index++);
    ASSERT_TRUE(QDir().mkdir(runtime));
    hostile.arrange(runtime);
    const QString named =
        hostile.runtimeEntry.isEmpty() ? runtime : runtime + '/' + hostile.runtimeEntry;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(named));
    canvas.setPlainText(QStringLiteral("before"));
    EXPECT_FALSE(load(QStringLiteral("echo new"))) << hostile.what;
    EXPECT_EQ(canvas.plainText(), QStringLiteral("Error creating temporary file.")) << hostile.what;
    EXPECT_EQ(runner().sourceFileName(), kept) << hostile.what;
  }
  EXPECT_TRUE(QDir(elsewhere).isEmpty());
}

TEST_F(RunnerTest, WithoutARuntimeDirectoryScriptsGoToAPrivateTemporaryDirectory) {
  const QByteArray savedTemp = qgetenv("TMPDIR");
  const QString temp = runtimePath() + "/tmp";
  ASSERT_TRUE(QDir().mkdir(temp));
  qunsetenv("XDG_RUNTIME_DIR");
  qputenv("TMPDIR", QFile::encodeName(temp));
  const bool loaded = load(QStringLiteral("echo hi"));
  if (savedTemp.isNull()) {
    qunsetenv("TMPDIR");
  } else {
    qputenv("TMPDIR", savedTemp);
  }
  ASSERT_TRUE(loaded);
  const QString directory = temp + QStringLiteral("/pellimo-%1").arg(::getuid());
  EXPECT_EQ(QFileInfo(*runner().sourceFileName()).absolutePath(), directory);
  EXPECT_EQ(permissionsOf(directory), 0700u);
}

}  // namespace
}  // namespace pellimo::test
