#include <gtest/gtest.h>

#include "widget/WindowEdges.h"

namespace pellimo::widget {
namespace {

TEST(WindowEdges, AGripAlongEachEdgeResizesFromThatEdgeAndItsCornersFromBoth) {
  const QSize size(40, 30);
  const int right = size.width() - kEdgeGrip;
  const int bottom = size.height() - kEdgeGrip;
  struct Case {
    QPoint at;
    Qt::Edges edges;
    Qt::CursorShape cursor;
  };
  const Case cases[] = {
      {{20, 15}, {}, Qt::ArrowCursor},
      {{0, 15}, Qt::LeftEdge, Qt::SizeHorCursor},
      {{kEdgeGrip - 1, 15}, Qt::LeftEdge, Qt::SizeHorCursor},
      {{kEdgeGrip, 15}, {}, Qt::ArrowCursor},
      {{right - 1, 15}, {}, Qt::ArrowCursor},
      {{right, 15}, Qt::RightEdge, Qt::SizeHorCursor},
      {{size.width() - 1, 15}, Qt::RightEdge, Qt::SizeHorCursor},
      {{20, 0}, Qt::TopEdge, Qt::SizeVerCursor},
      {{20, kEdgeGrip - 1}, Qt::TopEdge, Qt::SizeVerCursor},
      {{20, kEdgeGrip}, {}, Qt::ArrowCursor},
      {{20, bottom - 1}, {}, Qt::ArrowCursor},
      {{20, bottom}, Qt::BottomEdge, Qt::SizeVerCursor},
      {{20, size.height() - 1}, Qt::BottomEdge, Qt::SizeVerCursor},
      {{0, 0}, Qt::TopEdge | Qt::LeftEdge, Qt::SizeFDiagCursor},
      {{right, bottom}, Qt::BottomEdge | Qt::RightEdge, Qt::SizeFDiagCursor},
      {{right, 0}, Qt::TopEdge | Qt::RightEdge, Qt::SizeBDiagCursor},
      {{0, bottom}, Qt::BottomEdge | Qt::LeftEdge, Qt::SizeBDiagCursor},
  };
  for (const Case& c : cases) {
    const Qt::Edges edges = edgesAt(size, c.at);
    EXPECT_EQ(edges, c.edges) << c.at.x() << ", " << c.at.y();
    EXPECT_EQ(cursorForEdges(edges), c.cursor) << c.at.x() << ", " << c.at.y();
  }
}

}  // namespace
}  // namespace pellimo::widget
