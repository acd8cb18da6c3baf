// SPDX-License-Identifier: GPL-3.0-or-later
// Streams 5 MiB of coloured output from a real child through the runner onto a shown canvas and
// compares the CPU time this process spends (children apart) with one translation of the same
// bytes at once. A second pass measures how long the event loop was kept from a 1 ms timer.
#include <malloc.h>
#include <sys/resource.h>
#include <time.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "ansi/Utf8.h"
#include "ansi/VXL_ANSIEscapeHelper.h"
#include "bench/Corpus.h"
#include "runner/CodeRunner.h"
#include "widget/lbl.h"

namespace {

using pellimo::runner::CodeRunner;

constexpr std::size_t kSize = 5 * pellimo::bench::kMiB;
constexpr int kRepeats = 3;
const pellimo::ansi::Font kFont{"DejaVu Sans Mono", 11, pellimo::ansi::Font::kRegularWeight, false};
const pellimo::ansi::Color kTextColor = pellimo::ansi::Color::white();

double cpuSeconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

/// CPU time of this process alone: children are not counted until they are waited for, and
/// then only in RUSAGE_CHILDREN.
double selfCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

/// One translation of the whole output, as drawing it once at the end of a run would cost.
double wholeTranslationSeconds(const std::string& bytes) {
  pellimo::ansi::VXL_ANSIEscapeHelper helper;
  helper.setDefaultStringColor(kTextColor);
  const double start = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
  auto styled = helper.attributedStringWithANSIEscapedString(pellimo::ansi::decodeUtf8(bytes));
  styled->addAttribute(pellimo::ansi::Attribute::Font, kFont, {0, styled->length()});
  return cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - start;
}

/// Counts the canvas's paints.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return QObject::eventFilter(watched, event);
  }
};

struct Streamed {
  double cpuSeconds = 0;
  double longestBlockMs = 0;
  int paints = 0;
};

/// Runs the script once and serves the event loop until its output is drawn.
Streamed stream(CodeRunner& runner, pellimo::widget::lbl& canvas, bool probe) {
  PaintCounter counter;
  canvas.installEventFilter(&counter);
  QTimer probeTimer;
  QElapsedTimer sinceTick;
  qint64 longestNs = 0;
  if (probe) {
    probeTimer.setTimerType(Qt::PreciseTimer);
    probeTimer.setInterval(1);
    QObject::connect(&probeTimer, &QTimer::timeout, [&] {
      longestNs = std::max(longestNs, sinceTick.nsecsElapsed() - 1000000);
      sinceTick.restart();
    });
    sinceTick.start();
    probeTimer.start();
  }
  bool finished = false;
  QObject::connect(&runner, &CodeRunner::runFinished, &counter, [&] { finished = true; });
  const double start = selfCpuSeconds();
  runner.run();
  while (!finished)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  // The last frame is painted after the run has ended. The loop sleeps between events, as the
  // widget's own does: a loop that only polls would add its spinning to the streamed CPU.
  bool settled = false;
  QTimer::singleShot(100, &counter, [&] { settled = true; });
  while (!settled)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  Streamed result{selfCpuSeconds() - start, static_cast<double>(longestNs) / 1e6, counter.paints};
  canvas.removeEventFilter(&counter);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir home;
  if (!home.isValid()) return 1;
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
  QApplication app(argc, argv);

  pellimo::widget::lbl canvas;
  canvas.resize(480, 300);
  canvas.show();
  const auto owned = CodeRunner::initWithLanguage(0, QString(), &canvas);
  CodeRunner& runner = *owned;
  runner.setAppearanceSource([] { return pellimo::runner::Appearance{kFont, kTextColor}; });

  std::printf("%-9s %5s %12s %12s %7s %12s %7s\n", "corpus", "MiB", "whole ms", "streamed ms",
              "ratio", "blocked ms", "paints");
  // "one-line" is ls-like without its line breaks, as progress output redrawn with '\r' looks.
  const std::pair<const char*, const char*> inputs[] = {{"ls-like", "ls-like"},
                                                        {"dense", "dense"},
                                                        {"extended", "extended"},
                                                        {"one-line", "ls-like"}};
  for (const auto& [name, corpus] : inputs) {
    auto info = *pellimo::bench::corpusNamed(corpus);
    info.size = kSize;
    std::string bytes = pellimo::bench::makeCorpus(info);
    if (std::string_view(name) == "one-line") std::replace(bytes.begin(), bytes.end(), '\n', ' ');
    const QString path = home.filePath(QString::fromLatin1(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size())) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      return 1;
    }
    file.close();

    std::vector<double> whole;
    std::vector<double> streamed;
    Streamed last;
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
      // Each starts from memory given back to the system: page faults are a large share of
      // both, and whichever came second would otherwise reuse the pages the other touched.
      ::malloc_trim(0);
      whole.push_back(wholeTranslationSeconds(bytes));
      runner.setScript(0, QStringLiteral("dd if='%1' bs=4096 status=none").arg(path));
      runner.prepare();
      ::malloc_trim(0);
      last = stream(runner, canvas, false);
      streamed.push_back(last.cpuSeconds);
    }
    const Streamed probed = stream(runner, canvas, true);
    if (!canvas.styledText() || canvas.styledText()->length() == 0) {
      std::fprintf(stderr, "%s: the canvas shows none of the output\n", name);
      return 1;
    }
    std::printf("%-9s %5.1f %12.1f %12.1f %6.2fx %12.1f %7d\n", name,
                static_cast<double>(bytes.size()) / pellimo::bench::kMiB, median(whole) * 1e3,
                median(streamed) * 1e3, median(streamed) / median(whole), probed.longestBlockMs,
                last.paints);
  }
  return 0;
}
