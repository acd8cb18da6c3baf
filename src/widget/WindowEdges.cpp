// SPDX-License-Identifier: GPL-3.0-or-later
#include "widget/WindowEdges.h"

#include <QTimer>

namespace pellimo::widget {

Qt::Edges edgesAt(const QSize& size, const QPoint& position) {
  Qt::Edges edges;
  if (position.x() < kEdgeGrip) edges |= Qt::LeftEdge;
  if (position.x() >= size.width() - kEdgeGrip) edges |= Qt::RightEdge;
  if (position.y() < kEdgeGrip) edges |= Qt::TopEdge;
  if (position.y() >= size.height() - kEdgeGrip) edges |= Qt::BottomEdge;
  return edges;
}

Qt::CursorShape cursorForEdges(Qt::Edges edges) {
  if (edges == (Qt::TopEdge | Qt::LeftEdge) || edges == (Qt::BottomEdge | Qt::RightEdge)) {
    return Qt::SizeFDiagCursor;
  }
  if (edges == (Qt::TopEdge | Qt::RightEdge) || edges == (Qt::BottomEdge | Qt::LeftEdge)) {
    return Qt::SizeBDiagCursor;
  }
  if (edges & (Qt::LeftEdge | Qt::RightEdge)) return Qt::SizeHorCursor;
  if (edges & (Qt::TopEdge | Qt::BottomEdge)) return Qt::SizeVerCursor;
  return Qt::ArrowCursor;
}

void turnResizingOffBriefly(QObject* context, int ms,
                            const std::function<void(bool)>& setResizable) {
  setResizable(false);
  QTimer::singleShot(ms, context, [setResizable] { setResizable(true); });
}

}  // namespace pellimo::widget
