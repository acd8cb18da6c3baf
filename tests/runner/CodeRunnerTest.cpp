// SPDX-License-Identifier: GPL-3.0-or-later
#include <signal.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cerrno>

#include "RunnerFixture.h"
#include "runner/ReceivedBytes.h"
#include "runner/RunOutput.h"

namespace pellimo::test {
namespace {

TEST_F(RunnerTest, OutputIsShownAsItArrivesWithInvalidBytesReplaced) {
  // A stray byte, then a character whose last byte never comes: it waits for its rest.
  // Pieces show as they come once the run has gone on for half a second.
  ASSERT_TRUE(runToEnd(R"(printf 'a\377b\n'; sleep 1; printf 'c\342\202'; sleep 1)"));
  EXPECT_EQ(canvas.shown, QStringList({"a\uFFFDb\n", "a\uFFFDb\nc", "a\uFFFDb\nc\uFFFD"}));
}

TEST_F(RunnerTest, AQuickRunIsShownWholeAndTheOutputBeforeItStaysUntilThenAndItsEndIsReported) {
  ASSERT_TRUE(runToEnd("echo old"));
  ASSERT_TRUE(runToEnd("echo begin; sleep 0.2; echo end; exit 3"));
  EXPECT_EQ(canvas.shown, QStringList({"old\n", "begin\nend\n"}));
  ASSERT_TRUE(runner->lastRun());
  EXPECT_EQ(runner->lastRun()->exitStatus, 3);
  EXPECT_EQ(runner->lastRun()->signal, std::nullopt);
  EXPECT_GE(runner->lastRun()->durationMs, 200);
  EXPECT_EQ(runner->lastRun()->stoppedFor, "");
}

TEST_F(RunnerTest, QuietRunsKeepTheTextAndErrorOutputReplacesItAndEndsTheScript) {
  ASSERT_TRUE(runToEnd("echo previous"));
  for (const char* quiet : {"true", R"(printf '\033[31m\033[0m')"}) {
    ASSERT_TRUE(runToEnd(quiet)) << quiet;
    EXPECT_EQ(canvas.plainText(), "previous\n") << quiet;
  }
  ASSERT_TRUE(load("echo broken >&2; while :; do sleep 0.2; done"));
  runner->run();
  ASSERT_EQ(children().size(), 1u);
  const pid_t group = children().front().group;
  EXPECT_TRUE(eventually([&] { return canvas.plainText() == "Error in Script:\n\nbroken\n"; }));
  // The loop's `sleep` goes with the shell.
  EXPECT_TRUE(eventually([&] { return liveMembersOfGroup(group).empty(); }, 4000));
}

TEST_F(RunnerTest, StoredArgumentsFollowTheScriptPath) {
  const QString script = R"(for a in "$@"; do printf '[%s]' "$a"; done; echo "#$#")";
  const std::pair<QString, QString> cases[] = {
      {"", "#0\n"}, {"a,,b c", "[a][][b c]#3\n"}, {" x, ", "[ x][ ]#2\n"}};
  for (const auto& [stored, expected] : cases) {
    platform::SettingsStore::standard().setValue(stored, platform::keys::kArgs);
    runner->setArguments(std::nullopt);
    ASSERT_TRUE(runToEnd(script));
    EXPECT_EQ(canvas.plainText(), expected) << stored.toStdString();
  }
  // Once taken, the arguments are not read from the settings again.
  platform::SettingsStore::standard().setValue("changed", platform::keys::kArgs);
  ASSERT_TRUE(runToEnd(script));
  EXPECT_EQ(canvas.plainText(), "[ x][ ]#2\n");
}

TEST_F(RunnerTest, OutputIsDrawnInTheWidgetsFontWithTheScriptsColours) {
  ASSERT_TRUE(runToEnd(R"(printf 'plain \033[31mred\033[0m \033[1;4mbold\033[0m\n')"));
  const auto styled = canvas.styledText();
  ASSERT_TRUE(styled);
  ASSERT_EQ(styled->string(), u"plain red bold\n");
  const ansi::Range whole{0, styled->length()};
  ansi::Range fontRange;
  auto at = [&](ansi::Attribute name, std::size_t index) {
    return styled->attribute(name, index, &fontRange, whole);
  };
  EXPECT_EQ(at(ansi::Attribute::Font, 0), ansi::AttributeValue{kLook.font});
  EXPECT_EQ(fontRange, whole) << "one font, bold included";
  EXPECT_EQ(at(ansi::Attribute::Foreground, 0), ansi::AttributeValue{kLook.fontColor});
  EXPECT_EQ(at(ansi::Attribute::Foreground, 6), ansi::AttributeValue{ansi::Color::red()});
  EXPECT_EQ(at(ansi::Attribute::Underline, 10), ansi::AttributeValue{ansi::kUnderlineSingle});
}

TEST_F(RunnerTest, AnUnknownLanguageWritesAndStartsNothingButStopsTheRunningScript) {
  ASSERT_TRUE(load("echo started; while :; do sleep 0.2; done"));
  const QString kept = *runner->sourceFileName();
  runner->run();
  ASSERT_TRUE(eventually([&] { return canvas.plainText() == "started\n"; }));
  ASSERT_EQ(children().size(), 1u);
  const pid_t group = children().front().group;
  for (const qint64 mode : {3, -1})
    EXPECT_FALSE(load("echo other", mode)) << mode;
  EXPECT_EQ(runner->sourceFileName(), kept);
  // The kept one replaced the constructor's empty script.
  EXPECT_EQ(QDir(runtime.path() + "/pellimo").entryList(QDir::Files),
            QStringList{QFileInfo(kept).fileName()});
  runner->run();
  EXPECT_TRUE(eventually([&] { return liveMembersOfGroup(group).empty(); }, 4000));
  EXPECT_TRUE(children().empty());
  EXPECT_EQ(canvas.plainText(), "Unknown language -1: choose one in the editor");
}

TEST_F(RunnerTest, ScriptsRunWithTheirInstalledInterpreterOrShowWhyNot) {
  const std::tuple<qint64, QString, QStringList> cases[] = {
      {1, "puts ARGV.size", {"/usr/bin/ruby"}},
      {2, "import sys\nprint(len(sys.argv) - 1)", {"/usr/bin/python", "/usr/bin/python3"}},
  };
  for (const auto& [mode, script, interpreters] : cases) {
    ASSERT_TRUE(runToEnd(script, mode));
    if (std::ranges::any_of(interpreters,
                            [](const QString& path) { return QFileInfo::exists(path); })) {
      EXPECT_EQ(canvas.plainText(), "0\n") << mode;
    } else {
      // One line naming the interpreter; the runner goes on to the next case.
      EXPECT_TRUE(canvas.plainText().startsWith("Error in Script:\n\n" + interpreters.last()));
      EXPECT_EQ(canvas.plainText().count('\n'), 2);
    }
  }
}

TEST_F(RunnerTest, ErrorOutputShowsWholeUpTo64KiBAndLaterOutputDoesNotReplaceIt) {
  ASSERT_TRUE(runToEnd("echo one >&2; echo two >&2; echo out"));
  EXPECT_EQ(canvas.plainText(), "Error in Script:\n\none\ntwo\n");
  ASSERT_TRUE(runner->lastRun());
  EXPECT_EQ(runner->lastRun()->stoppedFor, "error output");
  ASSERT_TRUE(runToEnd("head -c 100000 /dev/zero | tr '\\0' x >&2"));
  EXPECT_EQ(canvas.plainText(), "Error in Script:\n\n" + QString(64 * 1024, u'x'));
}

TEST_F(RunnerTest, ARunWritesTheScriptAgainWhenItsFileIsGone) {
  ASSERT_TRUE(runToEnd("echo $$"));
  const QString first = canvas.plainText();
  ASSERT_TRUE(QFile::remove(*runner->sourceFileName()));
  runner->run();
  ASSERT_TRUE(eventually([&] { return canvas.plainText() != first; }));
  EXPECT_FALSE(canvas.plainText().startsWith("Error")) << canvas.plainText().toStdString();
  EXPECT_TRUE(QFile::exists(*runner->sourceFileName()));
}

TEST_F(RunnerTest, OnlyAPositiveIntervalSchedulesReloads) {
  ASSERT_TRUE(load("true"));
  for (const QVariant& interval : {QVariant(0), QVariant(-3), QVariant("soon")}) {
    platform::SettingsStore::standard().setValue(interval, platform::keys::kReloadAfter);
    runner->start();
    EXPECT_EQ(runner->loper(), nullptr);
  }
  platform::SettingsStore::standard().setValue(30, platform::keys::kReloadAfter);
  runner->start();
  runner->start();
  serveFor(100);
  // The second start replaced the first one's timer.
  EXPECT_EQ(runner->findChildren<QTimer*>(Qt::FindDirectChildrenOnly).size(), 1);
  ASSERT_TRUE(runner->loper());
  EXPECT_EQ(runner->loper()->interval(), 30000);
}

TEST_F(RunnerTest, RunsOfAOneSecondIntervalStartASecondApart) {
  platform::SettingsStore::standard().setValue(1, platform::keys::kReloadAfter);
  const QString runs = runtime.path() + "/runs";
  ASSERT_TRUE(load(QStringLiteral("date +%s.%N >> '%1'").arg(runs)));
  runner->start();
  QList<double> times;
  ASSERT_TRUE(eventually(
      [&] {
        times.clear();
        for (const QByteArray& line : fileContents(runs).split('\n'))
          if (!line.isEmpty()) times.append(line.toDouble());
        return times.size() >= 6;
      },
      20000));
  QList<double> gaps;
  for (qsizetype i = 1; i < times.size(); ++i)
    gaps.append(times[i] - times[i - 1]);
  std::sort(gaps.begin(), gaps.end());
  // Every other tick lost would make the gaps two seconds.
  EXPECT_LT(gaps[gaps.size() / 2], 1.5) << gaps[gaps.size() / 2];
  const QDateTime now = QDateTime::currentDateTime();
  EXPECT_GT(runner->nextReload(), now);
  EXPECT_LE(runner->nextReload(), now.addMSecs(2000));
  runner->stopReloading();
  EXPECT_FALSE(runner->nextReload().isValid());
}

TEST_F(RunnerTest, AClearScreenStartsAFrameAndOnlyWholeFramesShow) {
  // A quick run shows its last frame alone.
  ASSERT_TRUE(runToEnd("echo old"));
  ASSERT_TRUE(runToEnd(R"(printf 'first\n\033[H\033[2J\033[3Jsecond\n')"));
  EXPECT_EQ(canvas.shown, QStringList({"old\n", "second\n"}));
  // A frame being written shows once it has grown for half a second; until then the last
  // complete one does.
  canvas.shown.clear();
  ASSERT_TRUE(runToEnd(R"(printf '\033[2Jone\n'; sleep 0.1; printf '\fa\n'; sleep 1.2; echo b)"));
  EXPECT_EQ(canvas.shown, QStringList({"one\n", "a\n", "a\nb\n"}));
  // A dashboard that never ends shows its newest frame, one at a time.
  ASSERT_TRUE(
      load(R"(i=0; while :; do i=$((i+1)); printf '\033[2Jframe %d\n' $i; sleep 0.1; done)"));
  runner->run();
  EXPECT_TRUE(eventually([&] { return canvas.plainText() == "frame 20\n"; }));
  for (const QString& shown : canvas.shown)
    EXPECT_LE(shown.count("frame"), 1) << shown.toStdString();
}

TEST_F(RunnerTest, AScriptSlowerThanItsIntervalFinishesEveryRun) {
  platform::SettingsStore::standard().setValue(1, platform::keys::kReloadAfter);
  ASSERT_TRUE(load("echo begin; sleep 2.5; echo end"));
  runner->start();
  // Were a tick to stop the run in progress, no run would finish.
  EXPECT_TRUE(eventually([&] { return canvas.shown.count("begin\nend\n") == 2; }, 12000));
}

TEST_F(RunnerTest, AReloadedRunIsStoppedAtItsTimeLimitAndTheNextTickRunsAgain) {
  auto& settings = platform::SettingsStore::standard();
  settings.setValue(1, platform::keys::kReloadAfter);
  const QString runs = runtime.path() + "/runs";
  const struct {
    const char* printed;
    QString shown;
  } cases[] = {{"true", "Error in Script:\n\nstopped after 1 s without finishing"},
               {"echo partial", "partial\n"}};
  for (const auto& c : cases) {
    settings.setValue(1, platform::keys::kTimeout);
    QFile::remove(runs);
    ASSERT_TRUE(load(QStringLiteral("echo run >> '%1'; %2; exec sleep 30").arg(runs, c.printed)));
    runner->start();
    EXPECT_TRUE(eventually([&] { return canvas.plainText() == c.shown; })) << c.printed;
    ASSERT_TRUE(runner->lastRun());
    EXPECT_EQ(runner->lastRun()->stoppedFor, "time limit");
    EXPECT_EQ(runner->lastRun()->signal, SIGTERM);
    EXPECT_GE(runner->lastRun()->durationMs, 1000);
    EXPECT_TRUE(eventually([&] { return fileContents(runs).count('\n') >= 2; }))
        << "the next tick runs afresh";
    runner->stopReloading();
  }
  // 0 sets no limit.
  settings.setValue(0, platform::keys::kTimeout);
  ASSERT_TRUE(load("sleep 1.5; echo done"));
  runner->start();
  EXPECT_TRUE(eventually([&] { return canvas.plainText() == "done\n"; }));
}

TEST_F(RunnerTest, ShutDownLeavesNoDescendantEvenOfALoopIgnoringSigtermNorTheScriptFile) {
  ASSERT_TRUE(load("trap '' TERM; while :; do sleep 0.2; done"));
  // The first run's child, stopped by the second run, still waits for its SIGKILL.
  QList<pid_t> groups;
  for (int run = 0; run < 2; ++run) {
    runner->run();
    ASSERT_TRUE(eventually([&] {
      for (const ProcessEntry& child : children()) {
        if (!groups.contains(child.group)) groups.append(child.group);
      }
      return groups.size() > run && liveMembersOfGroup(groups.last()).size() == 2;
    }));
  }
  runner->shutDown();
  EXPECT_TRUE(QDir(runtime.path() + "/pellimo").entryList(QDir::Files).isEmpty());
  auto leftOver = [&] {
    return liveProcesses([&](const ProcessEntry& entry) {
             return entry.parent == ::getpid() || groups.contains(entry.group);
           })
        .size();
  };
  // No event loop runs after quitting: poll the process table without serving one.
  const QDeadlineTimer deadline(1000);
  while (leftOver() > 0 && !deadline.hasExpired())
    QThread::msleep(20);
  EXPECT_EQ(leftOver(), 0u);
}

// The script prints its process group, and leaves two sleepers behind, one of them deaf to
// SIGTERM.
const QString kLeavesSleepers =
    "sleep 299 & (trap '' TERM; exec sleep 299) & cut -d' ' -f5 /proc/$$/stat";

TEST_F(RunnerTest, WhatARunLeftRunningEndsWhenTheNextRunOrAResetStopsIt) {
  ASSERT_TRUE(runToEnd(kLeavesSleepers));
  const pid_t first = canvas.plainText().trimmed().toInt();
  ASSERT_GT(first, 0) << canvas.plainText().toStdString();
  EXPECT_EQ(liveMembersOfGroup(first).size(), 2u) << "the script has exited, its sleepers not";
  // The next run ends them, the deaf one with SIGKILL 2 s later.
  ASSERT_TRUE(runAgainToEnd());
  const pid_t second = canvas.plainText().trimmed().toInt();
  EXPECT_NE(second, first);
  EXPECT_TRUE(eventually([&] { return liveMembersOfGroup(first).empty(); }, 4000));
  EXPECT_EQ(liveMembersOfGroup(second).size(), 2u);
  // So does a reset: the widget going to sleep, a run from the editor.
  runner->resetTask();
  EXPECT_TRUE(eventually([&] { return liveMembersOfGroup(second).empty(); }, 4000));
}

TEST_F(RunnerTest, ShutDownEndsWhatEndedRunsLeftRunningWithinTheGraceOfOne) {
  ASSERT_TRUE(runToEnd(kLeavesSleepers));
  const pid_t first = canvas.plainText().trimmed().toInt();
  ASSERT_TRUE(runAgainToEnd());
  const pid_t second = canvas.plainText().trimmed().toInt();
  ASSERT_GT(first, 0);
  ASSERT_GT(second, 0);
  // The first run's deaf sleeper still waits for its SIGKILL.
  ASSERT_TRUE(eventually([&] { return liveMembersOfGroup(first).size() == 1u; }, 1000));
  QElapsedTimer clock;
  clock.start();
  runner->shutDown();
  EXPECT_LT(clock.elapsed(), 3000) << "both groups have the same two seconds";
  const QDeadlineTimer deadline(1000);
  while (!(liveMembersOfGroup(first).empty() && liveMembersOfGroup(second).empty()) &&
         !deadline.hasExpired())
    QThread::msleep(20);
  EXPECT_TRUE(liveMembersOfGroup(first).empty());
  EXPECT_TRUE(liveMembersOfGroup(second).empty());
}

TEST_F(RunnerTest, AnEndedRunKeepsItsGroupUntilStoppedAndGivesItUpWithinTheGrace) {
  ASSERT_TRUE(runToEnd("cut -d' ' -f5 /proc/$$/stat"));
  const pid_t group = canvas.plainText().trimmed().toInt();
  ASSERT_GT(group, 0) << canvas.plainText().toStdString();
  // Held by its keeper, so that a later stop cannot reach a stranger's group of that number.
  EXPECT_EQ(::kill(-group, 0), 0);
  runner->resetTask();
  // Given up, rather than left behind as a zombie per run.
  EXPECT_TRUE(eventually([&] { return ::kill(-group, 0) == -1 && errno == ESRCH; }, 4000));
}

/// A run's output in the usual look, and a bigger one to restyle it with.
class RunOutputTest : public ::testing::Test {
 protected:
  RunOutputTest() { helper.setDefaultStringColor(kLook.fontColor); }
  void restyleBigger() {
    helper.setDefaultStringColor(bigger.fontColor);
    EXPECT_TRUE(output.restyle(bigger));
  }

  const runner::Appearance bigger{ansi::Font{"DejaVu Sans Mono", 20, 5, false},
                                  ansi::Color::grey(0.5)};
  ansi::VXL_ANSIEscapeHelper helper;
  runner::RunOutput output{helper, kLook};
};

TEST_F(RunOutputTest, OutputUpToTheBoundIsKeptWholeAndOneUnitMoreIsCutAtALineStart) {
  using runner::RunOutput;
  static_assert(RunOutput::kMaxUnits % 16 == 0);
  output.append(QByteArray("0123456789abcde\n").repeated(RunOutput::kMaxUnits / 16));
  EXPECT_EQ(output.styledText()->length(), RunOutput::kMaxUnits);
  output.append("x");
  const std::u16string& kept = output.styledText()->string();
  EXPECT_LT(kept.size(), RunOutput::kMaxUnits);
  EXPECT_TRUE(kept.starts_with(u"0123456789abcde\n"));
  EXPECT_TRUE(kept.ends_with(u"\nx"));
}

std::string joined(const runner::ReceivedBytes& received) {
  std::string bytes;
  received.forEach([&](std::string_view block) { bytes += block; });
  return bytes;
}

TEST(ReceivedBytes, TheNewestAreKeptFromALineStartOrElseFromAWholeCharacter) {
  constexpr std::size_t kMax = 3 * 1024 * 1024;
  // Odd, so that the cut in the two-byte characters below falls inside one.
  constexpr std::size_t kKept = 2 * 1024 * 1024 + 1;
  // Pieces of an odd size, so that cuts and line starts fall anywhere in the blocks kept.
  std::string lines;
  for (int i = 0; lines.size() < 2 * kMax; ++i)
    lines += "line " + std::to_string(i) + '\n';
  runner::ReceivedBytes received(kMax, kKept);
  for (std::size_t at = 0; at < lines.size(); at += 4093)
    received.append(std::string_view(lines).substr(at, 4093));
  std::string kept = joined(received);
  EXPECT_LE(kept.size(), kMax);
  EXPECT_GE(kept.size() + 20, kKept);
  EXPECT_TRUE(lines.ends_with(kept));
  EXPECT_EQ(lines[lines.size() - kept.size() - 1], '\n');

  // Two-byte characters after one byte.
  runner::ReceivedBytes unbroken(kMax, kKept);
  unbroken.append("a");
  for (std::size_t size = 1; size <= kMax; size += 2)
    unbroken.append("\xc3\xa9");
  kept = joined(unbroken);
  EXPECT_TRUE(kept.starts_with("\xc3\xa9"));
  EXPECT_EQ(kept.size() % 2, 0u);
}

TEST_F(RunOutputTest, ANewLookReachesWhatArrivedBeforeIt) {
  output.append("plain \x1b[31mred\x1b[0m");
  EXPECT_FALSE(output.restyle(kLook));
  restyleBigger();
  const ansi::StyledText& text = *output.styledText();
  const ansi::Range whole{0, text.length()};
  EXPECT_EQ(text.fonts().spans(whole).size(), 1u);
  EXPECT_EQ(text.fonts().at(0, whole).value, bigger.font);
  EXPECT_EQ(text.foregrounds().at(0, whole).value, bigger.fontColor);
  EXPECT_EQ(text.foregrounds().at(7, whole).value, ansi::Color::red());
}

TEST_F(RunOutputTest, ANewLookDecodesWhatArrivedAsTheRunDid) {
  // An invalid byte, and a character whose last byte has not come yet.
  output.append("\xff\xc3\xa9\xe2\x82");
  EXPECT_TRUE(output.restyle(bigger));
  EXPECT_EQ(output.styledText()->string(), u"\ufffd\u00e9");
  output.append("\xac\xe2");
  output.finish();
  EXPECT_TRUE(output.restyle(kLook));
  EXPECT_EQ(output.styledText()->string(), u"\ufffd\u00e9\u20ac\ufffd");

  // Past the bound, what is kept of a text without line breaks starts at a whole character.
  runner::RunOutput longOutput(helper, kLook);
  // Three-byte characters, so that all that is kept is shown; the trailing 'a' puts the cut
  // inside one.
  longOutput.append(QByteArray("\xe2\x82\xac").repeated(runner::RunOutput::kMaxUnits * 4 / 3 + 1) +
                    "a");
  EXPECT_TRUE(longOutput.restyle(bigger));
  EXPECT_TRUE(longOutput.styledText()->string().starts_with(u"\u20ac\u20ac"));
}

TEST_F(RunOutputTest, AClearScreenOrFormFeedEndsAFrameAndColoursCarryIntoTheNext) {
  // What `clear` prints, at the start and twice in a row: no empty frame ends.
  const QByteArray clear = "\x1b[H\x1b[2J\x1b[3J";
  const QByteArray text = clear + clear + "\x1b[31mone\n" + clear + clear + "two\n\ftail";
  for (char byte : text)
    output.append(QByteArray(1, byte));
  EXPECT_EQ(output.endedFrames(), 2u);
  ASSERT_TRUE(output.lastFrame());
  const ansi::StyledText& two = *output.lastFrame();
  EXPECT_EQ(two.string(), u"two\n");
  EXPECT_EQ(two.foregrounds().at(0, {0, two.length()}).value, ansi::Color::red());
  EXPECT_EQ(output.styledText()->string(), u"tail");
  // A new look translates every frame again.
  restyleBigger();
  EXPECT_EQ(output.lastFrame()->string(), u"two\n");
  EXPECT_EQ(output.lastFrame()->fonts().at(0, {0, 4}).value, bigger.font);
  // Hours of frames keep no more than the newest two.
  for (int i = 0; i < 20000; ++i)
    output.append(QByteArray("\fframe ") + QByteArray::number(i) + '\n');
  EXPECT_EQ(output.lastFrame()->string(), u"frame 19998\n");
  EXPECT_EQ(output.styledText()->string(), u"frame 19999\n");
}

}  // namespace
}  // namespace pellimo::test
