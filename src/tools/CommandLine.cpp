// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/CommandLine.h"

#include <algorithm>
#include <optional>
#include <string>

#include "tools/ToolErrors.h"

namespace pellimo::tools {

namespace {

constexpr std::string_view kUsage = R"(Usage: pellimo-ansi COMMAND [OPTIONS] < INPUT

Translates text with ANSI SGR escape sequences, read as UTF-8 from standard input.

Commands:
  parse [--font]     Print the clean text, the SGR codes and the attribute runs as one
                     JSON object. --font gives the translator the font "Test", size 12,
                     weight 5, so that bold and normal-intensity codes make font runs.
  encode             Read {"text": ..., "runs": [...]} in the form parse prints and
                     print the text with SGR escape sequences.
  html [--title TEXT] [--fg #rrggbb] [--bg #rrggbb]
                     Print a standalone HTML page; default colours #d0d0d0 on #1e1e1e.

Locations and lengths count UTF-16 code units, as the translator does.

Options:
  --help             Show this help.
  --version          Show the version.

Exit status: 0 on success, 1 for unusable input, 2 for a bad command line.
)";

/// Splits "--name=value" so that both "--name value" and "--name=value" work.
struct Option {
  std::string_view name;
  std::optional<std::string_view> inlineValue;
};

Option splitOption(std::string_view arg) {
  const auto equals = arg.find('=');
  if (equals == std::string_view::npos) return {arg, std::nullopt};
  return {arg.substr(0, equals), arg.substr(equals + 1)};
}

std::string quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

CssColor colorOption(std::string_view name, std::string_view value) {
  if (auto color = parseCssColor(value)) return *color;
  throw UsageError("option " + quoted(name) + " expects a colour as #rrggbb or #rgb, not " +
                   quoted(value));
}

Command commandNamed(std::string_view name) {
  if (name == "parse") return Command::Parse;
  if (name == "encode") return Command::Encode;
  if (name == "html") return Command::Html;
  if (!name.empty() && name.front() == '-') throw UsageError("unknown option " + quoted(name));
  throw UsageError("unknown command " + quoted(name));
}

}  // namespace

Invocation parseCommandLine(const std::vector<std::string_view>& args) {
  Invocation invocation;
  if (std::find(args.begin(), args.end(), "--help") != args.end()) return invocation;
  if (args.empty()) throw UsageError("no command given");
  if (args.front() == "--version") {
    if (args.size() > 1) throw UsageError("unexpected argument " + quoted(args[1]));
    invocation.command = Command::Version;
    return invocation;
  }

  invocation.command = commandNamed(args.front());
  const std::string_view commandName = args.front();
  for (std::size_t i = 1; i < args.size(); ++i) {
    const Option option = splitOption(args[i]);
    auto value = [&]() -> std::string_view {
      if (option.inlineValue) return *option.inlineValue;
      if (i + 1 == args.size())
        throw UsageError("option " + quoted(option.name) + " needs a value");
      return args[++i];
    };
    if (invocation.command == Command::Parse && option.name == "--font") {
      if (option.inlineValue) throw UsageError("option '--font' takes no value");
      invocation.withFont = true;
    } else if (invocation.command == Command::Html && option.name == "--title") {
      invocation.html.title = value();
    } else if (invocation.command == Command::Html && option.name == "--fg") {
      invocation.html.foreground = colorOption(option.name, value());
    } else if (invocation.command == Command::Html && option.name == "--bg") {
      invocation.html.background = colorOption(option.name, value());
    } else if (!option.name.empty() && option.name.front() == '-') {
      throw UsageError("unknown option " + quoted(option.name) + " for " +
                       std::string(commandName));
    } else {
      throw UsageError("unexpected argument " + quoted(args[i]));
    }
  }
  return invocation;
}

std::string_view usageText() {
  return kUsage;
}

}  // namespace pellimo::tools
