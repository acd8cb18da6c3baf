// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QRectF>
#include <QSize>

namespace pellimo::editor {

/// Where the editor window opens: at `stored`, where the user last put it, while that lies
/// wholly on `screen` (the free area of the widget's screen). Otherwise beside `widget`, wholly
/// on the screen and clear of the widget: right of it, or left where there is no room on the
/// right, top edges aligned, at `size`. Where neither side has room for that size, it is made
/// smaller, down to `minimum`, on the right, the left, below or above, in that order; only where
/// none of these has room does it overlap the widget, on the roomier side.
QRect editorFrame(const QRectF& stored, const QRect& widget, const QSize& size,
                  const QSize& minimum, const QRect& screen);

}  // namespace pellimo::editor
