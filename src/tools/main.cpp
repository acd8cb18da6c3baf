// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "ansi/Utf8.h"
#include "tools/CommandLine.h"
#include "tools/Commands.h"
#include "tools/HtmlTranslator.h"
#include "tools/ParseReporter.h"
#include "tools/ToolErrors.h"

namespace {

using namespace pellimo::tools;

void report(const std::string& message) {
  std::fprintf(stderr, "pellimo-ansi: %s\n", message.c_str());
}

void warnAboutInvalidInput(std::size_t replaced) {
  if (replaced == 0) return;
  report("warning: input is not valid UTF-8; replaced " + std::to_string(replaced) +
         (replaced == 1 ? " invalid byte sequence" : " invalid byte sequences") + " with U+FFFD");
}

/// All of standard input in one buffer; sized from the file when stdin is one.
std::string readStandardInput() {
  constexpr std::size_t kChunk = 1 << 16;
  std::string bytes;
  struct stat info;
  if (fstat(STDIN_FILENO, &info) == 0 && S_ISREG(info.st_mode)) {
    bytes.reserve(static_cast<std::size_t>(info.st_size) + kChunk);
  }
  std::size_t size = 0;
  for (;;) {
    if (bytes.size() - size < kChunk) {
      bytes.resize(size + kChunk);
      bytes.resize(bytes.capacity());
    }
    const ssize_t count = read(STDIN_FILENO, bytes.data() + size, bytes.size() - size);
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      throw InputError(std::string("cannot read standard input: ") + std::strerror(errno));
    }
    size += static_cast<std::size_t>(count);
  }
  bytes.resize(size);
  return bytes;
}

std::u16string decodedInput() {
  std::size_t replaced = 0;
  std::u16string input = pellimo::ansi::decodeUtf8(readStandardInput(), &replaced);
  warnAboutInvalidInput(replaced);
  return input;
}

void writeOutput(std::string_view text);

/// Reads standard input piece by piece into `translator` (a translator of the page or the
/// parse report) as valid UTF-8: memory stays small whatever the input's size. Invalid input
/// is reported once it has all been read.
template <class Translator>
void stream(Translator& translator) {
  constexpr std::size_t kChunk = 1 << 16;
  // Not strings: making one fills it with zeros first, which costs a run on short input more
  // than reading it.
  const auto bytes = std::make_unique_for_overwrite<char[]>(kChunk);
  const auto text =
      std::make_unique_for_overwrite<char[]>(pellimo::ansi::Utf8Decoder::mostBytesFor(kChunk));
  pellimo::ansi::Utf8Decoder decoder;
  for (;;) {
    const ssize_t count = read(STDIN_FILENO, bytes.get(), kChunk);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0)
      throw InputError(std::string("cannot read standard input: ") + std::strerror(errno));
    if (count == 0) break;
    translator.append(decoder.decodeOrPass(
        std::string_view(bytes.get(), static_cast<std::size_t>(count)), text.get()));
  }
  const char* const end = decoder.finish(text.get());
  translator.append(std::string_view(text.get(), static_cast<std::size_t>(end - text.get())));
  translator.finish();
  warnAboutInvalidInput(decoder.invalidCount());
}

void writeOutput(std::string_view text) {
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
    throw InputError(std::string("cannot write output: ") + std::strerror(errno));
  }
}

}  // namespace

int main(int argc, char** argv) {
  // Output is handed over in pieces of tens of kilobytes already: through stdio's buffer each
  // would take several writes to the system, which cost more than the rest of the work on
  // escape-dense text.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  try {
    const Invocation invocation =
        parseCommandLine(std::vector<std::string_view>(argv + 1, argv + argc));
    if (invocation.command == Command::Help) {
      writeOutput(usageText());
    } else if (invocation.command == Command::Version) {
      writeOutput("pellimo-ansi " PELLIMO_VERSION "\n");
    } else if (invocation.command == Command::Html) {
      HtmlTranslator translator(invocation.html, writeOutput);
      stream(translator);
    } else if (invocation.command == Command::Parse) {
      ParseReporter reporter(invocation.withFont, writeOutput);
      stream(reporter);
    } else {
      writeOutput(runCommand(invocation, decodedInput()));
    }
    return 0;
  } catch (const UsageError& error) {
    report(std::string(error.what()) + " (see pellimo-ansi --help)");
    return 2;
  } catch (const InputError& error) {
    report(error.what());
    return 1;
  } catch (const std::bad_alloc&) {
    report("out of memory");
    return 1;
  }
}
