#include "platform/InstanceControl.h"

namespace pellimo::platform {

QList<RunningApplication> instancesToTerminate(const QList<RunningApplication>& running,
                                               const QString& bundleIdentifier) {
  QList<RunningApplication> collected;
  for (const RunningApplication& application : running) {
    if (application.bundleIdentifier == bundleIdentifier) collected.append(application);
  }
  if (collected.size() < 2) return {};
  QList<RunningApplication> asked;
  const QList<RunningApplication> walk = collected;
  for (auto it = walk.crbegin(); it != walk.crend(); ++it) {
    if (collected.size() > 1) {
      asked.append(*it);
      collected.removeOne(*it);
    }
  }
  return asked;
}

}  // namespace pellimo::platform
