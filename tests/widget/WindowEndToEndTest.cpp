#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QThread>

#include "ModuleHarness.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/FrameText.h"
#include "platform/SettingsStore.h"

namespace pellimo::test {
namespace {

const QString kBuiltIn = QStringLiteral("org.pellimo.widget");

QString output(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  process.waitForFinished(10000);
  return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

/// The whole X screen, grabbed in a few milliseconds: fast enough to catch the zoom midway.
QImage screenshot() {
  return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
      QImage::Format_RGB32);
}

bool isYellow(QRgb pixel) {
  return qRed(pixel) > 200 && qGreen(pixel) > 180 && qBlue(pixel) < 90;
}
/// A scaled one-pixel border is smoothed into dimmer yellow.
bool isYellowish(QRgb pixel) {
  return qRed(pixel) > 70 && qGreen(pixel) > 60 && qBlue(pixel) < 50;
}
bool isRed(QRgb pixel) {
  return qRed(pixel) > 180 && qGreen(pixel) < 80 && qBlue(pixel) < 80;
}

/// The bounding box of the pixels that pass `wanted` inside `area`.
QRect boxOf(const QImage& image, const QRect& area, bool (*wanted)(QRgb)) {
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (image.rect().contains(x, y) && wanted(image.pixel(x, y))) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

/// An X server of its own with no window manager: nothing there acts on a window's requests
/// once it is mapped, so a window keeps the hints it was mapped with.
class BareDisplay {
 public:
  BareDisplay() {
    server_.start(QStringLiteral("Xvfb"),
                  {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "800x600x24"});
    if (server_.waitForReadyRead(10000)) {
      name = QLatin1Char(':') + QString::fromUtf8(server_.readLine()).trimmed();
    }
  }
  ~BareDisplay() {
    server_.kill();
    server_.waitForFinished();
  }

  /// What a program run on this display prints.
  QString output(const QString& program, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), name);
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
  }

  QString name;

 private:
  QProcess server_;
};

class WindowEndToEnd : public ::testing::Test {
 protected:
  void launch(const QString& script = QStringLiteral("printf 'plain text\\n'")) {
    {
      platform::SettingsStore settings(kBuiltIn);
      settings.setValue(0, QStringLiteral("modeValue"));
      settings.setValue(script, QStringLiteral("scriptValue"));
      ASSERT_TRUE(settings.synchronize());
    }
    const Finished result = harness.host({"launch"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    window =
        output(QStringLiteral("xdotool"), {"search", "--name", "^Pellimo$"}).section('\n', 0, 0);
    ASSERT_FALSE(window.isEmpty());
  }

  QJsonObject status() {
    return QJsonDocument::fromJson(harness.host({"status", "--json"}).out.toUtf8()).object();
  }
  QRect frame() { return platform::rectFromString(status().value("frame").toString()).toRect(); }
  QString states() { return output(QStringLiteral("xprop"), {"-id", window, "_NET_WM_STATE"}); }
  bool send(const QString& command) { return harness.host({"send", command}).exitCode == 0; }
  /// Whether the configuration button shows at the raised widget's top right.
  static bool buttonShown(const QImage& shot, const QRect& at) {
    return !boxOf(shot, QRect(at.right() - 30, at.top() + 2, 28, 28), isYellow).isEmpty();
  }
  /// The screen once the widget's picture has stopped changing: no zoom is running.
  static QImage settledShot(const QRect& at) {
    QImage before = screenshot();
    eventually([&] {
      serveFor(100);
      const QImage now = screenshot();
      const bool same = now.copy(at) == before.copy(at);
      before = now;
      return same;
    });
    return before;
  }

  ModuleHarness harness;
  QString window;
};

TEST_F(WindowEndToEnd, FlatWidgetLiesBelowOnEveryDesktopOutOfTaskbarAndPager) {
  launch();
  const QString state = states();
  for (const char* wanted :
       {"_NET_WM_STATE_BELOW", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
    EXPECT_TRUE(state.contains(QLatin1String(wanted))) << state.toStdString();
  }
  EXPECT_TRUE(output(QStringLiteral("xprop"), {"-id", window, "_NET_WM_DESKTOP"})
                  .endsWith(QStringLiteral("4294967295")));
  EXPECT_TRUE(output(QStringLiteral("xprop"), {"-id", window, "_NET_FRAME_EXTENTS"})
                  .endsWith(QStringLiteral("0, 0, 0, 0")))
      << "no decorations";
}

TEST_F(WindowEndToEnd, RaiseFloatsItWithBorderAndButtonAndBothWaysDropItFlat) {
  launch();
  const QRect at = frame();
  const auto raisedWithBorderAndButton = [&] {
    const QRect leftEdge(at.left(), at.top() + at.height() / 2, 2, 1);
    const QImage shot = settledShot(at);
    return states().contains("_NET_WM_STATE_ABOVE") && !boxOf(shot, leftEdge, isYellow).isEmpty() &&
           buttonShown(shot, at);
  };
  ASSERT_TRUE(send("raise"));
  EXPECT_TRUE(eventually(raisedWithBorderAndButton));

  ASSERT_TRUE(send("flat"));
  EXPECT_TRUE(eventually([&] {
    return states().contains("_NET_WM_STATE_BELOW") && !buttonShown(settledShot(at), at);
  }));

  ASSERT_TRUE(send("raise"));
  ASSERT_TRUE(eventually(raisedWithBorderAndButton));
  const QPoint centre = at.center();
  output(QStringLiteral("xdotool"),
         {"mousemove", QString::number(centre.x()), QString::number(centre.y()), "click",
          "--repeat", "2", "--delay", "60", "1"});
  EXPECT_TRUE(eventually([&] {
    return states().contains("_NET_WM_STATE_BELOW") && !status().value("raised").toBool();
  }));
}

TEST_F(WindowEndToEnd, AMoveAfterTheFirstSecondsIsReportedStoredAndRestored) {
  launch();
  // Moves count from 5 s after the first one on: move back and forth until one is reported.
  QProcess* watch = harness.startHost({"watch", "--count", "1"});
  QPoint last;
  const bool reportedOne = eventually(
      [&] {
        last = last == QPoint(220, 140) ? QPoint(100, 80) : QPoint(220, 140);
        output(QStringLiteral("xdotool"),
               {"windowmove", window, QString::number(last.x()), QString::number(last.y())});
        return watch->waitForFinished(1000);
      },
      20000);
  ASSERT_TRUE(reportedOne);
  const QString reported = QString::fromUtf8(watch->readAllStandardOutput()).trimmed();
  EXPECT_TRUE(reported.startsWith(QStringLiteral("frame {{%1, %2}, ").arg(last.x()).arg(last.y())))
      << reported.toStdString();
  const QString stored = platform::SettingsStore(kBuiltIn).stringForKey("frameMark");
  EXPECT_EQ(QStringLiteral("frame ") + stored, reported);

  ASSERT_TRUE(send("kill"));
  const Finished again = harness.host({"launch"});
  ASSERT_EQ(again.exitCode, 0);
  EXPECT_TRUE(eventually([&] { return frame().topLeft() == last; }));
}

TEST_F(WindowEndToEnd, ColouredOutputShowsAndTheZoomScalesTheWholeContent) {
  launch(QStringLiteral("printf '\\033[31mRED RED RED RED\\033[0m\\n'"));
  ASSERT_TRUE(eventually([&] { return status().value("canvas").toString().contains("RED"); }));
  const QRect at = frame();
  EXPECT_GT(boxOf(screenshot(), at, isRed).width(), 40) << "red text on the widget";

  // Screenshots while the zoom runs: the border shows smaller than the window, centred. Only
  // the window's middle row is grabbed, so that a grab takes a few milliseconds.
  platform::DistributedNotificationCenter::defaultCenter().postNotificationName(
      QStringLiteral("org.pellimo.widget.raise"));
  bool scaled = false;
  for (int i = 0; i < 100 && !scaled; ++i, QThread::msleep(4)) {
    const QImage row = QGuiApplication::primaryScreen()
                           ->grabWindow(0, at.left(), at.center().y(), at.width(), 1)
                           .toImage()
                           .convertToFormat(QImage::Format_RGB32);
    const QRect border = boxOf(row, row.rect(), isYellowish);
    scaled = border.width() > at.width() / 5 && border.width() < at.width() * 9 / 10 &&
             qAbs(border.center().x() - at.width() / 2) < 6;
  }
  EXPECT_TRUE(scaled);
}

TEST(WindowHints, TheWidgetIsMappedFloatingOnEveryDesktopOutOfTaskbarAndPager) {
  BareDisplay display;
  ASSERT_FALSE(display.name.isEmpty());
  const QByteArray desktopDisplay = qgetenv("DISPLAY");
  qputenv("DISPLAY", display.name.toUtf8());
  ModuleHarness harness;  // takes the display from the environment
  qputenv("DISPLAY", desktopDisplay);
  {
    platform::SettingsStore settings(kBuiltIn);
    settings.setValue(0, QStringLiteral("modeValue"));
    settings.setValue(QStringLiteral("echo hinted"), QStringLiteral("scriptValue"));
    ASSERT_TRUE(settings.synchronize());
  }
  const Finished launched = harness.host({"launch"});
  ASSERT_EQ(launched.exitCode, 0) << launched.err.toStdString();
  const QString window =
      display.output(QStringLiteral("xdotool"), {"search", "--name", "^Pellimo$"})
          .section('\n', 0, 0);
  ASSERT_FALSE(window.isEmpty());
  const QString state = display.output(QStringLiteral("xprop"), {"-id", window, "_NET_WM_STATE"});
  for (const char* wanted :
       {"_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
    EXPECT_TRUE(state.contains(QLatin1String(wanted))) << state.toStdString();
  }
  EXPECT_TRUE(display.output(QStringLiteral("xprop"), {"-id", window, "_NET_WM_DESKTOP"})
                  .endsWith(QStringLiteral("4294967295")));
}

}  // namespace
}  // namespace pellimo::test
