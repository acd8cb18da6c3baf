#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Outcome {
  int exitCode = -1;  // -1 when the program did not exit normally
  std::string out;
  std::string err;
};

std::string temporaryFile(const std::string& content) {
  std::string path = testing::TempDir() + "pellimo-ansi-XXXXXX";
  const int fd = mkstemp(path.data());
  EXPECT_GE(fd, 0);
  EXPECT_EQ(write(fd, content.data(), content.size()), static_cast<ssize_t>(content.size()));
  close(fd);
  return path;
}

std::string contentsOf(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  unlink(path.c_str());
  return content.str();
}

/// Runs the program with the input on stdin; files rather than pipes, so nothing can deadlock.
Outcome run(std::vector<std::string> args, const std::string& input = "") {
  const std::string in = temporaryFile(input), out = temporaryFile(""), err = temporaryFile("");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_TRUNC, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_TRUNC, 0);
  args.insert(args.begin(), PELLIMO_ANSI_PROGRAM);
  std::vector<char*> argv;
  for (std::string& arg : args)
    argv.push_back(arg.data());
  argv.push_back(nullptr);

  Outcome outcome;
  pid_t pid = 0;
  int status = 0;
  if (posix_spawn(&pid, PELLIMO_ANSI_PROGRAM, &actions, nullptr, argv.data(), environ) == 0 &&
      waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
    outcome.exitCode = WEXITSTATUS(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  unlink(in.c_str());
  outcome.out = contentsOf(out);
  outcome.err = contentsOf(err);
  return outcome;
}

TEST(Program, ParsePrintsRecordsAndRunsAsOneJsonLine) {
  const Outcome parsed = run({"parse"}, "\x1b[31mred\x1b[0m \x1b[38;5;196mhot\x1b[0m");
  EXPECT_EQ(parsed.exitCode, 0);
  EXPECT_EQ(parsed.err, "");
  const std::string red = R"({"model":"rgb","red":1.0,"green":0.0,"blue":0.0,"alpha":1.0})";
  EXPECT_EQ(parsed.out,
            R"({"clean":"red hot","codes":[[31,0],[0,3],[38,4],[5,4],[196,4],[0,7]],"runs":[)"
            R"({"attribute":"foreground","value":)" +
                red +
                R"(,"location":0,"length":3},)"
                R"({"attribute":"foreground","value":)" +
                red +
                R"(,"location":4,"length":3}]})"
                "\n");
}

TEST(Program, EncodePrintsTheEscapedTextAlone) {
  const Outcome encoded = run({"encode"}, R"({"text": "Hi", "runs": [
      {"attribute": "font", "value": {"family": "M", "size": 12, "weight": 5},
       "location": 0, "length": 2},
      {"attribute": "foreground",
       "value": {"model": "rgb", "red": 1, "green": 0, "blue": 0, "alpha": 1},
       "location": 0, "length": 2}]})");
  EXPECT_EQ(encoded.exitCode, 0);
  EXPECT_EQ(encoded.out, "\x1b[22m\x1b[31m\x1b[49m\x1b[24mHi\x1b[0m");
}

TEST(Program, HtmlEscapesTextAndShowsDoubleUnderline) {
  const Outcome page = run({"html", "--title", "T"}, "<&>\x1b[21mx\x1b[0m");
  EXPECT_EQ(page.exitCode, 0);
  EXPECT_NE(page.out.find("<pre>\n&lt;&amp;&gt;<span class=\"uu\">x</span></pre>"),
            std::string::npos)
      << page.out;
}

TEST(Program, InvalidUtf8IsReportedAndReplaced) {
  const Outcome parsed = run({"parse"},
                             "a\xff\xfe"
                             "b");
  EXPECT_EQ(parsed.exitCode, 0);
  EXPECT_EQ(parsed.out.rfind("{\"clean\":\"a\xEF\xBF\xBD\xEF\xBF\xBD"
                             "b\"",
                             0),
            0u);
  EXPECT_EQ(parsed.err,
            "pellimo-ansi: warning: input is not valid UTF-8; replaced 2 invalid byte sequences "
            "with U+FFFD\n");
}

TEST(Program, FailsWithOneLineAndTheRightStatus) {
  struct Case {
    std::vector<std::string> args;
    std::string input;
    int exitCode;
    std::string message;
  };
  const Case cases[] = {
      {{"encode"}, "{\"text\": \"a\",", 1, "pellimo-ansi: invalid JSON: parse error at line 1"},
      {{"html", "--colour"}, "", 2, "pellimo-ansi: unknown option '--colour' for html"},
      {{"paint"}, "", 2, "pellimo-ansi: unknown command 'paint'"},
  };
  for (const Case& c : cases) {
    const Outcome failed = run(c.args, c.input);
    EXPECT_EQ(failed.exitCode, c.exitCode) << c.message;
    EXPECT_EQ(failed.out, "");
    EXPECT_EQ(failed.err.rfind(c.message, 0), 0u) << failed.err;
    EXPECT_EQ(failed.err.find('\n'), failed.err.size() - 1) << failed.err;
  }
}

TEST(Program, AnswersVersionAndHelp) {
  EXPECT_EQ(run({"--version"}).out, "pellimo-ansi " PELLIMO_VERSION "\n");
  const Outcome help = run({"html", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out.rfind("Usage: pellimo-ansi COMMAND", 0), 0u);
}

}  // namespace
