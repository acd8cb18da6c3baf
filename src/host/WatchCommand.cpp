// SPDX-License-Identifier: GPL-3.0-or-later
#include <csignal>

#include <QCoreApplication>
#include <QTextStream>

#include "host/Commands.h"
#include "platform/BusContract.h"
#include "platform/DistributedNotificationCenter.h"

namespace pellimo::host {

int watchModule(const platform::Bundle& module, int count) {
  using platform::bus::manifest::kFrame;
  using platform::bus::manifest::kHello;
  const QString hello = manifestName(module, kHello);
  const QString frame = manifestName(module, kFrame);
  if (hello.isEmpty() && frame.isEmpty()) {
    return fail(QStringLiteral("the manifest of %1 names neither \"%2\" nor \"%3\"")
                    .arg(module.bundleIdentifier(), kHello, kFrame));
  }
  // Interrupting a watch is its normal end.
  std::signal(SIGINT, [](int) { QCoreApplication::quit(); });
  std::signal(SIGTERM, [](int) { QCoreApplication::quit(); });

  int seen = 0;
  auto print = [&](const QString& line) {
    QTextStream out(stdout);
    out << line << '\n';
    out.flush();
    if (count > 0 && ++seen >= count) QCoreApplication::quit();
  };
  auto& center = platform::DistributedNotificationCenter::defaultCenter();
  QObject scope;
  // Each line starts with the manifest key of what arrived.
  if (!hello.isEmpty()) center.addObserver(&scope, hello, [&] { print(kHello); });
  if (!frame.isEmpty()) {
    center.addObserverWithUserInfo(&scope, frame, [&](const auto& userInfo) {
      print(kFrame + u' ' + (userInfo ? userInfo->value(platform::bus::kFrameInfoKey) : QString()));
    });
  }
  QCoreApplication::exec();
  return 0;
}

}  // namespace pellimo::host
