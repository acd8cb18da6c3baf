// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRectF>
#include <QString>

namespace pellimo::platform {

/// A window frame as text, `{{x, y}, {w, h}}`, each number in its shortest exact form.
QString stringFromRect(const QRectF& rect);

/// Reads frame text back leniently: the numbers are taken in order, a number that cannot be
/// read counts as 0 and missing numbers are 0, so garbage gives the zero rectangle.
QRectF rectFromString(const QString& text);

}  // namespace pellimo::platform
