#include <gtest/gtest.h>

#include "widget/WindowEdges.h"

namespace pellimo::widget {
namespace {

TEST(WindowEdges, AGripAlongEachEdgeResizesFromThatEdgeAndItsCornersFromBoth) {
  // Along each axis, both sides of each grip's inner border, in pairs: first edge, none, last.
  const int xs[] = {0, kEdgeGrip - 1, kEdgeGrip, 39 - kEdgeGrip, 40 - kEdgeGrip, 39};
  const int ys[] = {0, kEdgeGrip - 1, kEdgeGrip, 29 - kEdgeGrip, 30 - kEdgeGrip, 29};
  const Qt::Edges across[] = {Qt::LeftEdge, {}, Qt::RightEdge};
  const Qt::Edges down[] = {Qt::TopEdge, {}, Qt::BottomEdge};
  const Qt::CursorShape cursors[3][3] = {
      {Qt::SizeFDiagCursor, Qt::SizeVerCursor, Qt::SizeBDiagCursor},
      {Qt::SizeHorCursor, Qt::ArrowCursor, Qt::SizeHorCursor},
      {Qt::SizeBDiagCursor, Qt::SizeVerCursor, Qt::SizeFDiagCursor}};
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 6; ++j) {
      const Qt::Edges edges = edgesAt(QSize(40, 30), QPoint(xs[i], ys[j]));
      EXPECT_EQ(edges, across[i / 2] | down[j / 2]) << xs[i] << ", " << ys[j];
      EXPECT_EQ(cursorForEdges(edges), cursors[j / 2][i / 2]) << xs[i] << ", " << ys[j];
    }
  }
}

}  // namespace
}  // namespace pellimo::widget
