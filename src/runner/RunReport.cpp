// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/RunReport.h"

namespace pellimo::runner {

QVariantMap RunReport::toMap() const {
  QVariantMap map{{QStringLiteral("durationMs"), durationMs},
                  {QStringLiteral("ended"), ended.toUTC().toString(Qt::ISODateWithMs)}};
  if (exitStatus) map.insert(QStringLiteral("exitStatus"), *exitStatus);
  if (signal) map.insert(QStringLiteral("signal"), *signal);
  if (!stoppedFor.isEmpty()) map.insert(QStringLiteral("stoppedFor"), stoppedFor);
  return map;
}

}  // namespace pellimo::runner
