// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdlib>

#include "RunnerFixture.h"

namespace pellimo::test {
namespace {

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
    EXPECT_EQ(fileMode(file.fileName()), 0777u);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), text.toUtf8());
  }
  // Each file replaces the one before it, which is gone.
  EXPECT_EQ(QDir(directory).entryList(QDir::Files),
            QStringList{QFileInfo(*runner->sourceFileName()).fileName()});
  EXPECT_EQ(fileMode(directory), 0700u);
}

TEST_F(RunnerTest, AScriptThatCouldNotBeWrittenIsWrittenAtTheNextRun) {
  const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
  const QByteArray savedTemp = qgetenv("TMPDIR");
  // Nowhere to write, as on a full disk: no runtime directory, and a file in the way of the
  // private temporary one.
  const QString blocked = runtime.path() + "/blocked";
  ASSERT_TRUE(QDir().mkpath(blocked));
  ASSERT_TRUE(
      QFile(blocked + QStringLiteral("/pellimo-%1").arg(::getuid())).open(QIODevice::WriteOnly));
  const auto nowhere = [&] {
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path() + "/missing"));
    qputenv("TMPDIR", QFile::encodeName(blocked));
  };
  const auto restore = [&] {
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
    qputenv("TMPDIR", savedTemp);
  };
  // The first write, when the runner is made.
  nowhere();
  RecordingCanvas first;
  auto fresh = CodeRunner::initWithLanguage(0, "echo first", &first);
  restore();
  EXPECT_TRUE(first.plainText().startsWith("Error creating temporary file. "))
      << first.plainText().toStdString();
  bool ended = false;
  QObject::connect(fresh.get(), &CodeRunner::runFinished, [&] { ended = true; });
  fresh->run();
  ASSERT_TRUE(eventually([&] { return ended; }));
  EXPECT_EQ(first.plainText(), "first\n");
  fresh.reset();

  // A later write: the script it was to replace does not run in its place.
  ASSERT_TRUE(runToEnd("echo old"));
  nowhere();
  EXPECT_FALSE(load("echo new"));
  ASSERT_TRUE(runAgainToEnd());
  restore();
  EXPECT_TRUE(canvas.plainText().startsWith("Error creating temporary file. "))
      << canvas.plainText().toStdString();
  ASSERT_TRUE(runAgainToEnd());
  EXPECT_EQ(canvas.plainText(), "new\n");
  EXPECT_EQ(QDir(runtime.path() + "/pellimo").entryList(QDir::Files).size(), 1);
}

TEST_F(RunnerTest, HostileScriptDirectoriesAreRefused) {
  ASSERT_TRUE(load("echo kept"));
  const QString kept = *runner->sourceFileName();
  const QByteArray savedTemp = qgetenv("TMPDIR");
  // What each case puts where the script directory goes, in a temporary folder of its own; the
  // runtime directory is missing, so that the temporary folder is the one left to use.
  const std::pair<const char*, const char*> hostile[] = {
      {"mkdir -m 700 ../elsewhere && ln -s ../elsewhere %1", "is a symbolic link"},
      {"touch %1", "is not a directory"},
      {"mkdir -m 700 %1 && chown 65534:65534 %1", "belongs to another user (uid 65534)"},
      {"mkdir -m 705 %1", "is open to other users (mode 0705)"},
  };
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path() + "/missing"));
  for (const auto& [arrange, reason] : hostile) {
    const QTemporaryDir named(runtime.path() + "/case-XXXXXX");
    const QString command =
        QString::fromLatin1(arrange).arg(QStringLiteral("pellimo-%1").arg(::getuid()));
    ASSERT_EQ(std::system(qPrintable(QStringLiteral("cd '%1' && %2").arg(named.path(), command))),
              0);
    qputenv("TMPDIR", QFile::encodeName(named.path()));
    canvas.setPlainText({});
    EXPECT_FALSE(load("echo new")) << arrange;
    // The directory and what is wrong with it, after the message users know.
    const QString directory = named.path() + QStringLiteral("/pellimo-%1").arg(::getuid());
    EXPECT_EQ(canvas.plainText(), "Error creating temporary file. " + directory + ' ' + reason)
        << arrange;
    EXPECT_EQ(runner->sourceFileName(), kept) << arrange;
  }
  qputenv("TMPDIR", savedTemp);
}

TEST_F(RunnerTest, WithoutAUsableRuntimeDirectoryScriptsGoToAPrivateTemporaryDirectory) {
  const QByteArray savedTemp = qgetenv("TMPDIR");
  qputenv("TMPDIR", QFile::encodeName(runtime.path()));
  const QString directory = runtime.path() + QStringLiteral("/pellimo-%1").arg(::getuid());
  // Unset, missing, and a file where the directory should be.
  for (const QString& named : {QString(), runtime.path() + "/missing", runtime.path() + "/file"}) {
    QFile(runtime.path() + "/file").open(QIODevice::WriteOnly);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(named));
    ASSERT_TRUE(load("echo hi")) << named.toStdString();
    EXPECT_EQ(QFileInfo(*runner->sourceFileName()).absolutePath(), directory);
  }
  qputenv("TMPDIR", savedTemp);
  EXPECT_EQ(fileMode(directory), 0700u);
}

}  // namespace
}  // namespace pellimo::test
