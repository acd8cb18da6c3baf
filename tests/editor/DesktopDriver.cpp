#include "DesktopDriver.h"

#include <QEventLoop>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

#include "ModuleHarness.h"

namespace pellimo::test::desktop {

void pause(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

std::optional<QString> tool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    return std::nullopt;
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

QList<qulonglong> visibleWindows(const QStringList& search) {
  QList<qulonglong> windows;
  const auto out =
      tool(QStringLiteral("xdotool"),
           QStringList{QStringLiteral("search"), QStringLiteral("--onlyvisible")} + search);
  if (!out) return windows;
  for (const QString& line : out->split('\n', Qt::SkipEmptyParts))
    windows.append(line.toULongLong());
  return windows;
}

std::optional<qulonglong> waitForWindow(const QString& namePattern, int timeoutMs) {
  std::optional<qulonglong> found;
  eventually(
      [&] {
        const auto windows = visibleWindows({QStringLiteral("--name"), namePattern});
        if (!windows.isEmpty()) found = windows.first();
        return found.has_value();
      },
      timeoutMs);
  return found;
}

QRect geometry(qulonglong window) {
  // xwininfo, not xdotool: the latter counts the window manager's frame in twice.
  const auto out =
      tool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)});
  if (!out) return {};
  auto value = [&](const char* label) {
    const QRegularExpression pattern(QStringLiteral("%1:\\s*(-?\\d+)").arg(QLatin1String(label)));
    return pattern.match(*out).captured(1).toInt();
  };
  return {value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"),
          value("Height")};
}

QString property(qulonglong window, const QString& name) {
  return tool(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window), name})
      .value_or(QString());
}

bool activate(qulonglong window) {
  // xdotool complains about the all-desktops number but activates all the same.
  tool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QString::number(window)});
  return eventually([&] {
    return tool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")})
               .value_or(QString())
               .trimmed()
               .toULongLong() == window;
  });
}

void key(const QString& keys) {
  tool(QStringLiteral("xdotool"),
       {QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("50"), keys});
  pause(150);
}

void type(const QString& text) {
  tool(QStringLiteral("xdotool"),
       {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text});
  pause(150);
}

void click(const QPoint& at) {
  tool(QStringLiteral("xdotool"),
       {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
        QStringLiteral("click"), QStringLiteral("1")});
  pause(300);
}

void drag(const QPoint& from, const QPoint& offset, int steps) {
  const QString xdotool = QStringLiteral("xdotool");
  tool(xdotool, {QStringLiteral("mousemove"), QString::number(from.x()), QString::number(from.y()),
                 QStringLiteral("mousedown"), QStringLiteral("1")});
  for (int step = 1; step <= steps; ++step) {
    const QPoint at = from + offset * step / steps;
    pause(40);
    tool(xdotool, {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())});
  }
  pause(100);
  tool(xdotool, {QStringLiteral("mouseup"), QStringLiteral("1")});
  pause(300);
}

QImage screenshot() {
  QProcess process;
  process.start(QStringLiteral("import"),
                {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
  if (!process.waitForFinished(20000)) return {};
  return QImage::fromData(process.readAllStandardOutput(), "PNG")
      .convertToFormat(QImage::Format_RGB32);
}

std::optional<QPoint> findSquare(const QImage& image, const QRect& within, QRgb colour, int side) {
  const QRect area = within.intersected(image.rect());
  const QRgb wanted = colour | 0xff000000;
  for (int y = area.top(); y + side <= area.bottom() + 1; ++y) {
    for (int x = area.left(); x + side <= area.right() + 1; ++x) {
      bool whole = true;
      for (int dy = 0; dy < side && whole; ++dy) {
        for (int dx = 0; dx < side && whole; ++dx) {
          whole = (image.pixel(x + dx, y + dy) | 0xff000000) == wanted;
        }
      }
      if (whole) return QPoint(x + side / 2, y + side / 2);
    }
  }
  return std::nullopt;
}

}  // namespace pellimo::test::desktop
