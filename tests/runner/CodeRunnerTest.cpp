#include <QFileInfo>

#include "RunnerFixture.h"
#include "platform/NotificationCenter.h"
#include "runner/Interpreter.h"
#include "runner/RunOutput.h"

namespace pellimo::test {
namespace {

using ansi::Attribute;

TEST_F(RunnerTest, EachPieceOfOutputIsShownAsItArrives) {
  ASSERT_TRUE(runToEnd(QStringLiteral("echo one; sleep 1; echo two")));
  EXPECT_EQ(canvas.plainText(), QStringLiteral("one\ntwo\n"));
  const qsizetype first = canvas.shown.indexOf(QStringLiteral("one\n"));
  ASSERT_NE(first, -1) << canvas.shown.join('|').toStdString();
  EXPECT_GT(canvas.shown.indexOf(QStringLiteral("one\ntwo\n")), first);
}

TEST_F(RunnerTest, FirstErrorOutputReplacesTheTextAndEndsTheScript) {
  ASSERT_TRUE(runToEnd(QStringLiteral("echo before")));
  int cleared = 0;
  QObject context;
  platform::NotificationCenter::defaultCenter().addObserver(&context, QStringLiteral("clearView"),
                                                            [&] { ++cleared; });
  ASSERT_TRUE(load(QStringLiteral("echo broken >&2; while :; do sleep 0.2; done")));
  runner().run();
  ASSERT_TRUE(eventually([&] { return !children().empty(); }, 3000));
  const pid_t group = children().front().pid;
  EXPECT_TRUE(eventually([&] { return canvas.plainText().startsWith("Error in Script:"); }));
  EXPECT_EQ(canvas.plainText(), QStringLiteral("Error in Script:\n\nbroken\n"));
  EXPECT_EQ(cleared, 1);
  // The loop's `sleep` goes with the shell.
  EXPECT_TRUE(eventually([&] { return liveMembersOfGroup(group).empty(); }, 4000));
}

TEST_F(RunnerTest, RunsThatShowNothingKeepThePreviousText) {
  const QString quiet[] = {QStringLiteral("true"), QStringLiteral(R"(printf '\033[31m\033[0m')")};
  ASSERT_TRUE(runToEnd(QStringLiteral("echo previous")));
  for (const QString& script : quiet) {
    ASSERT_TRUE(runToEnd(script)) << script.toStdString();
    EXPECT_EQ(canvas.plainText(), QStringLiteral("previous\n")) << script.toStdString();
  }
}

TEST_F(RunnerTest, InvalidBytesShowAsReplacementCharacters) {
  // A stray byte, then a character whose last byte never comes.
  ASSERT_TRUE(
      runToEnd(QStringLiteral(R"(printf 'a\377b\n'; sleep 0.2; printf 'c\342\202'; sleep 0.2)")));
  EXPECT_EQ(canvas.plainText(), QStringLiteral("a\uFFFDb\nc\uFFFD"));
  EXPECT_TRUE(canvas.shown.contains(QStringLiteral("a\uFFFDb\nc"))) << "a cut character waits";
}

TEST_F(RunnerTest, StoredArgumentsFollowTheScriptPath) {
  const QString script =
      QStringLiteral(R"(for a in "$@"; do printf '[%s]' "$a"; done; echo "#$#")");
  const std::pair<QVariant, QString> cases[] = {
      {QVariant(), "#0\n"},          {QString(""), "#0\n"},
      {QString("one"), "[one]#1\n"}, {QString("a,,b c"), "[a][][b c]#3\n"},
      {QString("x,"), "[x][]#2\n"},  {QString(" lead, trail "), "[ lead][ trail ]#2\n"},
  };
  for (const auto& [stored, expected] : cases) {
    if (stored.isValid()) {
      setSetting(platform::keys::kArgs, stored);
    } else {
      platform::SettingsStore::standard().removeObjectForKey(platform::keys::kArgs);
    }
    runner().setArguments(std::nullopt);
    ASSERT_TRUE(runToEnd(script));
    EXPECT_EQ(canvas.plainText(), expected) << stored.toString().toStdString();
  }
  // Once taken, the arguments are not read from the settings again.
  setSetting(platform::keys::kArgs, QStringLiteral("changed"));
  ASSERT_TRUE(runToEnd(script));
  EXPECT_EQ(canvas.plainText(), QStringLiteral("[ lead][ trail ]#2\n"));
}

TEST_F(RunnerTest, OutputIsDrawnInTheWidgetsFontWithTheScriptsColours) {
  ASSERT_TRUE(runToEnd(QStringLiteral(
      R"(printf 'plain \033[31mred\033[0m \033[4munder\033[24m \033[1mbold\033[0m\n')")));
  const auto styled = canvas.styledText();
  ASSERT_TRUE(styled);
  ASSERT_EQ(styled->string(), std::u16string(u"plain red under bold\n"));
  const ansi::Range whole{0, styled->length()};
  auto at = [&](Attribute name, std::size_t index) {
    return styled->attribute(name, index, nullptr, whole);
  };
  ansi::Range fontRange;
  ASSERT_TRUE(styled->attribute(Attribute::Font, 0, &fontRange, whole));
  EXPECT_EQ(fontRange, whole) << "one font, bold included";
  EXPECT_EQ(std::get<ansi::Font>(*at(Attribute::Font, 0)), kLook.font);
  EXPECT_EQ(std::get<ansi::Color>(*at(Attribute::Foreground, 0)), kLook.fontColor);
  EXPECT_EQ(std::get<ansi::Color>(*at(Attribute::Foreground, 6)),
            ansi::VXL_ANSIEscapeHelper().colorForSGRCode(31));
  EXPECT_EQ(std::get<ansi::Color>(*at(Attribute::Foreground, 16)), kLook.fontColor);
  EXPECT_EQ(std::get<int>(*at(Attribute::Underline, 10)), ansi::kUnderlineSingle);
  const auto plainUnderline = at(Attribute::Underline, 0);
  EXPECT_TRUE(!plainUnderline || std::get<int>(*plainUnderline) == ansi::kUnderlineNone);
}

TEST_F(RunnerTest, AnUnknownLanguageStartsNothingButStopsTheRunningScript) {
  ASSERT_TRUE(load(QStringLiteral("echo started; while :; do sleep 0.2; done")));
  runner().run();
  ASSERT_TRUE(eventually([&] { return canvas.plainText() == QStringLiteral("started\n"); }));
  ASSERT_EQ(children().size(), 1u);
  const pid_t group = children().front().pid;
  runner().setScript(7, runner().code());
  runner().run();
  EXPECT_TRUE(eventually([&] { return liveMembersOfGroup(group).empty(); }, 4000));
  serveFor(300);
  EXPECT_TRUE(children().empty());
  EXPECT_EQ(canvas.plainText(), QStringLiteral("started\n"));
}

TEST_F(RunnerTest, AMissingInterpreterIsShownAsAnError) {
  if (QFileInfo::exists(QStringLiteral("/usr/bin/ruby"))) {
    GTEST_SKIP() << "/usr/bin/ruby is installed: no missing interpreter to run";
  }
  ASSERT_TRUE(load(QStringLiteral("puts 1"), 1));
  runner().run();
  ASSERT_TRUE(eventually([&] { return canvas.plainText().startsWith("Error in Script:\n\n"); }));
  const QString reason = canvas.plainText().mid(18);
  EXPECT_TRUE(reason.contains(QStringLiteral("/usr/bin/ruby"))) << reason.toStdString();
  EXPECT_FALSE(reason.contains('\n')) << reason.toStdString();
  // The runner goes on working.
  ASSERT_TRUE(runToEnd(QStringLiteral("echo fine")));
  EXPECT_EQ(canvas.plainText(), QStringLiteral("fine\n"));
}

TEST_F(RunnerTest, PythonScriptsRunWithThePythonThatIsInstalled) {
  if (!QFileInfo::exists(QStringLiteral("/usr/bin/python")) &&
      !QFileInfo::exists(QStringLiteral("/usr/bin/python3"))) {
    GTEST_SKIP() << "no Python installed";
  }
  ASSERT_TRUE(runToEnd(QStringLiteral("import sys\nprint('args', sys.argv[1:])"), 2));
  EXPECT_EQ(canvas.plainText(), QStringLiteral("args []\n"));
}

TEST_F(RunnerTest, AHugeOutputKeepsOnlyItsNewestLines) {
  canvas.shown.clear();
  canvas.recording = false;
  constexpr int kLast = 2800000;  // about 21 MB of numbered lines
  ASSERT_TRUE(runToEnd(QStringLiteral("seq 1 %1").arg(kLast), 0, 120000));
  const auto styled = canvas.styledText();
  ASSERT_TRUE(styled);
  EXPECT_LE(styled->length(), runner::RunOutput::kMaxUnits);
  EXPECT_GE(styled->length(), runner::RunOutput::kMaxUnits / 2);
  const QString text = canvas.plainText();
  bool numeric = false;
  const int first = text.left(text.indexOf('\n')).toInt(&numeric);
  ASSERT_TRUE(numeric) << "the kept text starts at a line start";
  EXPECT_TRUE(text.endsWith(QStringLiteral("\n%1\n").arg(kLast)));
  EXPECT_EQ(text.count('\n'), kLast - first + 1);
}

}  // namespace
}  // namespace pellimo::test
