// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QSize>
#include <Qt>
#include <functional>

class QObject;

namespace pellimo::widget {

/// How close to an edge a press starts a resize of a borderless window.
inline constexpr int kEdgeGrip = 6;

/// The edges of a window of `size` within `kEdgeGrip` pixels of `position`.
Qt::Edges edgesAt(const QSize& size, const QPoint& position);

/// The pointer shape that shows a resize from `edges`; the arrow for none.
Qt::CursorShape cursorForEdges(Qt::Edges edges);

/// Turns resizing off now and on again `ms` later (while `context` lives): a press on an edge
/// just after a stored move or resize would otherwise start another one.
void turnResizingOffBriefly(QObject* context, int ms,
                            const std::function<void(bool)>& setResizable);

}  // namespace pellimo::widget
