// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <unistd.h>

#include <QByteArray>
#include <optional>

#include "TestSupport.h"
#include "runner/ActionProcess.h"
#include "runner/LineAttributes.h"
#include "runner/MenuLineParser.h"
#include "runner/RunOutput.h"

namespace pellimo::test {
namespace {

using runner::MenuLine;
using Pairs = std::vector<std::pair<std::u16string, std::u16string>>;

struct ParseCase {
  std::u16string line;
  MenuLine expected;
};

TEST(MenuLineParser, SplitsTextFromAttributesOnlyWhereTheAttributesAreWellFormed) {
  const ParseCase cases[] = {
      {u"plain", {u"plain", {}}},
      {u"cpu 12% | color=red size=14", {u"cpu 12%", {{u"color", u"red"}, {u"size", u"14"}}}},
      {u"tight|color=red", {u"tight", {{u"color", u"red"}}}},
      {u"trailing bar |", {u"trailing bar", {}}},
      {u"a | b | color=red", {u"a | b", {{u"color", u"red"}}}},
      {u"x | bash=\"echo a | b\" param1='it''s'", {u"x | bash=\"echo a | b\" param1='it''s'", {}}},
      {u"x | bash=\"echo a | b\" param1='it\\'s'",
       {u"x", {{u"bash", u"echo a | b"}, {u"param1", u"it's"}}}},
      {u"q | a=\"say \\\"hi\\\" \\\\ \\n\"", {u"q", {{u"a", u"say \"hi\" \\ \\n"}}}},
      {u"e | a=\"\" b=", {u"e", {{u"a", u""}, {u"b", u""}}}},
      {u"open quote | color=\"red", {u"open quote | color=\"red", {}}},
      {u"glued | a=\"b\"c", {u"glued | a=\"b\"c", {}}},
      {u"bare word | color=red oops", {u"bare word | color=red oops", {}}},
      {u"ratio 1|2", {u"ratio 1|2", {}}},
      {u"--Sub | length=2", {u"--Sub", {{u"length", u"2"}}}},
      {u"\u00e9t\u00e9 \U0001F600 | href=https://\u00e9.example/\U0001F600",
       {u"\u00e9t\u00e9 \U0001F600", {{u"href", u"https://\u00e9.example/\U0001F600"}}}},
  };
  for (const auto& [line, expected] : cases) {
    EXPECT_EQ(runner::parseMenuLine(line), expected)
        << QString::fromStdU16String(line).toStdString();
  }
}

TEST(LineAttributes, GiveTheActionAndLookTheToolsGiveThem) {
  const auto meant = runner::interpretAttributes({u"t",
                                                  {{u"bash", u"/bin/echo"},
                                                   {u"param2", u"two"},
                                                   {u"param1", u"one"},
                                                   {u"param10", u"ten"},
                                                   {u"terminal", u"false"},
                                                   {u"refresh", u"true"},
                                                   {u"color", u"#0f8"},
                                                   {u"size", u"nan?"},
                                                   {u"length", u"-3"},
                                                   {u"emojize", u"false"},
                                                   {u"unknown", u"x"}}});
  EXPECT_EQ(meant.action.program, "/bin/echo");
  EXPECT_EQ(meant.action.arguments, QStringList({"one", "two", "ten"}));
  EXPECT_FALSE(meant.action.terminal);
  EXPECT_TRUE(meant.action.refresh);
  EXPECT_EQ(meant.look.color, ansi::Color::rgb(0, 1, 136 / 255.0));
  EXPECT_EQ(meant.look.fontSize, std::nullopt);
  EXPECT_EQ(meant.look.length, std::nullopt);

  const auto defaults = runner::interpretAttributes({u"t", {{u"shell", u"top"}}});
  EXPECT_TRUE(defaults.action.terminal) << "in a terminal, as the tools do by default";
  EXPECT_TRUE(runner::interpretAttributes({u"t", {{u"color", u"mauvish"}}}).look.color ==
              std::nullopt);
  EXPECT_TRUE(runner::interpretAttributes({u"t", {{u"param1", u"x"}}}).action.isEmpty());
}

/// What a whole output in the menu format shows and does.
class MenuOutput : public ::testing::Test {
 protected:
  void read(const QByteArray& bytes) {
    helper.setDefaultStringColor(look.fontColor);
    output = std::make_unique<runner::RunOutput>(helper, look, runner::RunOutput::LineFormat::Menu);
    // Pieces cut anywhere, lines included, give the same result.
    for (qsizetype at = 0; at < bytes.size(); at += 3)
      output->append(bytes.mid(at, 3));
    output->finish();
  }
  QString text() const { return QString::fromStdU16String(output->styledText()->string()); }
  std::optional<ansi::Color> colorAt(std::size_t index) const {
    return output->styledText()->foregrounds().at(index, {0, output->styledText()->length()}).value;
  }

  ansi::VXL_ANSIEscapeHelper helper;
  runner::Appearance look{ansi::Font{"DejaVu Sans", 11, 5, false}, ansi::Color::white()};
  std::unique_ptr<runner::RunOutput> output;
};

TEST_F(MenuOutput, ShowsTheBodyInItsLinesLookAndKeepsTheRestForTheMenu) {
  read(
      "plain\n"
      "\x1b[1mwarm\x1b[0m | color=red size=30 font=Serif\n"
      "\x1b[34mblue\x1b[0m | color=red\n"
      "  long line here   | length=6 bash=/bin/true param1=a\n"
      "raw \x1b[31mtext | ansi=false trim=false\n"
      "---\n"
      "Item | href=https://example.org\n"
      "Label\n"
      "--Sub & more | bash=/bin/true terminal=false\n"
      "-----\n"
      "Hidden | dropdown=false bash=/bin/true\n"
      "---\n"
      "Last | refresh=true");
  EXPECT_EQ(text(), "plain\nwarm\nblue\nlong \u2026\nraw text\n");
  EXPECT_EQ(colorAt(0), look.fontColor);
  EXPECT_EQ(colorAt(6), ansi::Color::red()) << "the line's colour for text no code colours";
  EXPECT_EQ(output->styledText()->fonts().at(6, {0, 30}).value,
            (ansi::Font{"Serif", 30, 5, false}));
  EXPECT_NE(colorAt(11), ansi::Color::red()) << "a code's colour wins over the line's";
  EXPECT_EQ(colorAt(27), look.fontColor) << "ansi=false: the sequence has no effect";

  const auto menu = output->menu();
  ASSERT_TRUE(menu);
  ASSERT_EQ(menu->lineActions.size(), 1u);
  EXPECT_EQ(menu->actionAt(16)->arguments, QStringList{"a"});
  std::vector<std::tuple<QString, int, bool, bool>> items;
  for (const auto& item : menu->items)
    items.emplace_back(item.title, item.depth, item.separator, item.action.isEmpty());
  EXPECT_EQ(items,
            (std::vector<std::tuple<QString, int, bool, bool>>{{"Item", 0, false, false},
                                                               {"Label", 0, false, true},
                                                               {"Sub & more", 1, false, false},
                                                               {"", 1, true, true},
                                                               {"", 0, true, true},
                                                               {"Last", 0, false, false}}));
}

TEST_F(MenuOutput, EachFrameHasItsOwnMenuAndMalformedLinesShowWhole) {
  read(
      "\x1b[2Jone | bash=/bin/a\n---\nfirst menu\n"
      "\x1b[H\x1b[2Jtwo | color=\"red\nthree | refresh=true\n---\nsecond menu\n");
  EXPECT_EQ(QString::fromStdU16String(output->lastFrame()->string()), "one\n");
  EXPECT_EQ(output->lastMenu()->items.front().title, "first menu");
  EXPECT_TRUE(output->lastMenu()->actionAt(0));
  EXPECT_EQ(text(), "two | color=\"red\nthree\n");
  EXPECT_EQ(output->menu()->items.front().title, "second menu");
  EXPECT_FALSE(output->menu()->actionAt(0));
  EXPECT_TRUE(output->menu()->actionAt(17)->refresh);
}

TEST_F(MenuOutput, ALineThatNeverEndsIsShownAsPrintedRatherThanHeldWithoutBound) {
  runner::RunOutput unending(helper, look, runner::RunOutput::LineFormat::Menu);
  for (int piece = 0; piece < 3; ++piece)
    unending.append(QByteArray(1 << 20, 'x') + '\r');
  EXPECT_GT(unending.styledText()->length(), 2u << 20);
}

TEST(ActionProcess, RunsInASessionOfItsOwnAndReportsItsEndWithTheTailOfItsErrors) {
  QString why;
  auto process = runner::ActionProcess::start(
      "sh",
      {"-c", "cut -d\" \" -f6 /proc/$$/stat >&2; echo first >&2; echo why it failed >&2; exit 3"},
      &why);
  ASSERT_TRUE(process) << why.toStdString();
  std::optional<int> status;
  QString errors;
  QObject::connect(process.get(), &runner::ActionProcess::finished,
                   [&](std::optional<int> exit, std::optional<int>, const QString& text) {
                     status = exit;
                     errors = text;
                   });
  ASSERT_TRUE(eventually([&] { return status.has_value(); }));
  EXPECT_EQ(status, 3);
  EXPECT_TRUE(errors.endsWith("first\nwhy it failed\n")) << errors.toStdString();
  EXPECT_EQ(errors.section('\n', 0, 0).trimmed().toInt(), process->pid()) << "its own session";

  EXPECT_FALSE(runner::ActionProcess::start("/no/such/program", {}, &why));
  EXPECT_FALSE(why.isEmpty());
}

TEST(ActionProcess, KeepsNoFileOfTheWidgetOpen) {
  const int inherited = ::dup(STDIN_FILENO);  // without close-on-exec, as libraries leave some
  QString why;
  auto process = runner::ActionProcess::start("sh", {"-c", "ls /proc/self/fd >&2"}, &why);
  ::close(inherited);
  ASSERT_TRUE(process) << why.toStdString();
  QString errors;
  QObject::connect(process.get(), &runner::ActionProcess::finished,
                   [&](auto, auto, const QString& text) { errors = text; });
  ASSERT_TRUE(eventually([&] { return !errors.isEmpty(); }));
  EXPECT_EQ(errors, "0\n1\n2\n3\n") << "3 is the folder ls reads";
}

}  // namespace
}  // namespace pellimo::test
