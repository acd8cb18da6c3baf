// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Outcome {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string contentsOf(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

/// Runs the program through the shell with the input on stdin; files rather than pipes, so
/// nothing can deadlock, named for this process, so that test runs side by side keep apart.
Outcome run(const std::string& args, const std::string& input = "") {
  const std::string base = testing::TempDir() + "pellimo-ansi-program-" + std::to_string(getpid());
  std::ofstream(base + ".in", std::ios::binary) << input;
  const std::string command = "'" + std::string(PELLIMO_ANSI_PROGRAM) + "' " + args + " <" + base +
                              ".in >" + base + ".out 2>" + base + ".err";
  const int status = std::system(command.c_str());
  Outcome outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, contentsOf(base + ".out"),
                  contentsOf(base + ".err")};
  for (const char* suffix : {".in", ".out", ".err"})
    std::remove((base + suffix).c_str());
  return outcome;
}

TEST(Program, EachCommandAnswersWithItsOutputAndStatus) {
  const std::string red = R"({"model":"rgb","red":1.0,"green":0.0,"blue":0.0,"alpha":1.0})";
  const struct {
    std::string args;
    std::string input;
    int exitCode;
    std::string out;  // what the output starts with
    std::string err;  // what the error output starts with
  } cases[] = {
      {"parse", "\x1b[31mred\x1b[0m \x1b[38;5;196mhot\x1b[0m", 0,
       R"({"clean":"red hot","codes":[[31,0],[0,3],[38,4],[5,4],[196,4],[0,7]],"runs":[)"
       R"({"attribute":"foreground","value":)" +
           red +
           R"(,"location":0,"length":3},)"
           R"({"attribute":"foreground","value":)" +
           red +
           R"(,"location":4,"length":3}]})"
           "\n",
       ""},
      {"encode",
       R"({"text": "Hi", "runs": [{"attribute": "underline", "value": 1, "location": 0,
          "length": 2}]})",
       0, "\x1b[22m\x1b[39m\x1b[49m\x1b[4mHi\x1b[0m", ""},
      {"html --title T", "<&>\x1b[21mx\x1b[0m", 0, "<!DOCTYPE html>", ""},
      {"parse", "a\xff\xfe\x62", 0, "{\"clean\":\"a\xEF\xBF\xBD\xEF\xBF\xBD\x62\"",
       "pellimo-ansi: warning: input is not valid UTF-8; replaced 2 invalid byte sequences "
       "with U+FFFD\n"},
      {"--version", "", 0, "pellimo-ansi " PELLIMO_VERSION "\n", ""},
      {"html --help", "", 0, "Usage: pellimo-ansi COMMAND", ""},
      {"encode", "{\"text\": \"a\",", 1, "", "pellimo-ansi: invalid JSON: parse error at line 1"},
      {"encode",
       R"({"text": "a", "runs": [{"attribute": "foreground", "location": 0, "length": 1,
          "value": {"model": "rgb", "red": 1e308, "green": 0, "blue": 0, "alpha": 1}}]})",
       1, "", "pellimo-ansi: runs[0].value.red: expected a number from 0 to 1\n"},
      {"html --colour", "", 2, "", "pellimo-ansi: unknown option '--colour' for html"},
      {"paint", "", 2, "", "pellimo-ansi: unknown command 'paint'"},
  };
  for (const auto& c : cases) {
    const Outcome outcome = run(c.args, c.input);
    EXPECT_EQ(outcome.exitCode, c.exitCode) << c.args;
    EXPECT_EQ(outcome.out.rfind(c.out, 0), 0u) << c.args << ": " << outcome.out;
    if (c.err.empty()) {
      EXPECT_EQ(outcome.err, "") << c.args;
    } else {
      EXPECT_EQ(outcome.err.rfind(c.err, 0), 0u) << c.args << ": " << outcome.err;
      EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    }
    if (c.exitCode != 0) {
      EXPECT_EQ(outcome.out, "") << c.args;
    }
  }
  EXPECT_NE(run("html", "<&>\x1b[21mx\x1b[0m")
                .out.find("<pre>\n&lt;&amp;&gt;<span class=\"uu\">x</span></pre>"),
            std::string::npos);
}

}  // namespace
