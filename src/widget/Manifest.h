// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QString>

namespace pellimo::widget {

using Manifest = QMap<QString, QString>;

/// The main bundle's "maniffeest" property list. A missing file or a missing key is reported
/// once, in one line on standard error, and reads as nothing.
Manifest readManifest();

}  // namespace pellimo::widget
