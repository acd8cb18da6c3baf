#include <csignal>

#include <QCoreApplication>
#include <QTextStream>

#include "host/Commands.h"
#include "platform/BusContract.h"
#include "platform/DistributedNotificationCenter.h"

namespace pellimo::host {

int watchModule(const platform::Bundle& module, int count) {
  const QString hello = manifestName(module, platform::bus::manifest::kHello);
  const QString frame = manifestName(module, platform::bus::manifest::kFrame);
  if (hello.isEmpty() && frame.isEmpty()) {
    return fail(QStringLiteral("the manifest of %1 names neither \"hello\" nor \"frame\"")
                    .arg(module.bundleIdentifier()));
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
  if (!hello.isEmpty()) center.addObserver(&scope, hello, [&] { print(QStringLiteral("hello")); });
  if (!frame.isEmpty()) {
    center.addObserverWithUserInfo(&scope, frame, [&](const auto& userInfo) {
      print(QStringLiteral("frame ") +
            (userInfo ? userInfo->value(platform::bus::kFrameInfoKey) : QString()));
    });
  }
  QCoreApplication::exec();
  return 0;
}

}  // namespace pellimo::host
