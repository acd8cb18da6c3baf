// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <signal.h>

#include <utility>

#include "TestSupport.h"
#include "platform/QuitSignals.h"

namespace pellimo::test {
namespace {

using platform::QuitSignals;

TEST(QuitSignals, EachSignalAsksToQuitOnceAndTheLogNamesIt) {
  for (const auto& [number, name] :
       {std::pair{SIGTERM, "SIGTERM"}, {SIGINT, "SIGINT"}, {SIGHUP, "SIGHUP"}}) {
    LoggedLines log;
    QuitSignals quit;
    int asked = 0;
    QObject::connect(&quit, &QuitSignals::quitRequested, [&] { ++asked; });
    ASSERT_EQ(::raise(number), 0) << name;
    // A second signal while the quit is under way changes nothing.
    ASSERT_EQ(::raise(SIGTERM), 0) << name;
    EXPECT_TRUE(eventually([&] { return asked > 0; })) << name;
    serveFor(50);
    EXPECT_EQ(asked, 1) << name;
    EXPECT_EQ(log.lines(),
              QStringList{QStringLiteral("pellimo-widget: quitting: signal %1").arg(name)});
  }
}

TEST(QuitSignals, AnIgnoredSigintOrSighupStaysIgnoredAndTheEarlierHandlingComesBack) {
  // As under `nohup`, or for a background job of a shell.
  ::signal(SIGINT, SIG_IGN);
  ::signal(SIGHUP, SIG_IGN);
  {
    LoggedLines log;
    QuitSignals quit;
    int asked = 0;
    QObject::connect(&quit, &QuitSignals::quitRequested, [&] { ++asked; });
    ASSERT_EQ(::raise(SIGINT), 0);
    ASSERT_EQ(::raise(SIGHUP), 0);
    serveFor(100);
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(log.lines().isEmpty());
  }
  const auto handling = [](int number) {
    struct sigaction current {};
    ::sigaction(number, nullptr, &current);
    return current.sa_handler;
  };
  EXPECT_EQ(handling(SIGTERM), SIG_DFL);
  EXPECT_EQ(handling(SIGINT), SIG_IGN);
  EXPECT_EQ(handling(SIGHUP), SIG_IGN);
  ::signal(SIGINT, SIG_DFL);
  ::signal(SIGHUP, SIG_DFL);
}

}  // namespace
}  // namespace pellimo::test
