// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "tools/CommandLine.h"
#include "tools/ToolErrors.h"

namespace pellimo::tools {
namespace {

TEST(CommandLine, ReadsCommandsAndTheirOptions) {
  const Invocation html =
      parseCommandLine({"html", "--title=A = B", "--fg", "#fff", "--bg=#102030"});
  EXPECT_EQ(html.command, Command::Html);
  EXPECT_EQ(html.html.title, "A = B");
  EXPECT_EQ(html.html.foreground, CssColor{0xffffff});
  EXPECT_EQ(html.html.background, CssColor{0x102030});

  EXPECT_TRUE(parseCommandLine({"parse", "--font"}).withFont);
  EXPECT_FALSE(parseCommandLine({"parse"}).withFont);
  EXPECT_EQ(parseCommandLine({"encode"}).command, Command::Encode);
  EXPECT_EQ(parseCommandLine({"--version"}).command, Command::Version);
  EXPECT_EQ(parseCommandLine({"html", "--bogus", "--help"}).command, Command::Help);
}

TEST(CommandLine, RejectsWhatItDoesNotKnow) {
  const std::pair<std::vector<std::string_view>, std::string> cases[] = {
      {{}, "no command given"},
      {{"frobnicate"}, "unknown command 'frobnicate'"},
      {{"--verbose"}, "unknown option '--verbose'"},
      {{"parse", "--title", "x"}, "unknown option '--title' for parse"},
      {{"parse", "--font=yes"}, "option '--font' takes no value"},
      {{"parse", "file.txt"}, "unexpected argument 'file.txt'"},
      {{"html", "--title"}, "option '--title' needs a value"},
      {{"html", "--fg", "red"}, "option '--fg' expects a colour as #rrggbb or #rgb, not 'red'"},
  };
  for (const auto& [args, message] : cases) {
    try {
      parseCommandLine(args);
      ADD_FAILURE() << "accepted: " << message;
    } catch (const UsageError& error) {
      EXPECT_EQ(error.what(), message);
    }
  }
}

}  // namespace
}  // namespace pellimo::tools
