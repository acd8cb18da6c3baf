// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "widget/LineActions.h"
#include "widget/lbl.h"

namespace pellimo::test {
namespace {

struct FailureCase {
  runner::LineAction action;
  const char* path;
  QString notice;
};

TEST(LineActions, AFailureShowsOnTheCanvasAndIsLoggedAndARefreshFollowsEvenThen) {
  const FailureCase cases[] = {
      {{{}, "/bin/sh", {"-c", "echo starting >&2; echo no such disk >&2; exit 2"}, false, true},
       nullptr,
       "/bin/sh -c \"echo starting >&2; echo no such disk >&2; exit 2\" exited with 2: no such "
       "disk"},
      {{{}, "/bin/sh", {"-c", "kill -9 $$"}, false, true},
       nullptr,
       "/bin/sh -c \"kill -9 $$\" was ended by signal 9"},
      {{{}, "no-such-program-here", {}, false, true},
       nullptr,
       "cannot run no-such-program-here: No such file or directory"},
      {{{}, "htop", {}, true, true},
       "/nowhere",
       "cannot run htop: there is no terminal emulator (x-terminal-emulator); terminal=false runs "
       "it without one"},
  };
  for (const auto& [action, path, notice] : cases) {
    const QByteArray oldPath = qgetenv("PATH");
    if (path) qputenv("PATH", path);
    widget::lbl canvas;
    int refreshes = 0;
    widget::LineActions actions(&canvas, [&] { ++refreshes; });
    LoggedLines log;
    actions.run(action);
    qputenv("PATH", oldPath);
    EXPECT_TRUE(eventually([&] { return refreshes == 1; })) << notice.toStdString();
    EXPECT_EQ(canvas.notice(), notice);
    EXPECT_EQ(log.containing(notice).size(), 1) << notice.toStdString();
  }
}

TEST(LineActions, ASuccessShowsNothingAndARefreshWaitsForTheProgramToEnd) {
  widget::lbl canvas;
  int refreshes = 0;
  widget::LineActions actions(&canvas, [&] { ++refreshes; });
  QTemporaryDir dir;
  const QString gate = dir.filePath("gate");
  actions.run(
      {{}, "/bin/sh", {"-c", "while [ ! -e '" + gate + "' ]; do sleep 0.05; done"}, false, true});
  serveFor(300);
  EXPECT_EQ(refreshes, 0);
  QFile(gate).open(QIODevice::WriteOnly);
  EXPECT_TRUE(eventually([&] { return refreshes == 1; }));
  EXPECT_TRUE(canvas.notice().isEmpty());
}

}  // namespace
}  // namespace pellimo::test
