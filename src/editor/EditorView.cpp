#include "editor/EditorView.h"

#include <QMouseEvent>
#include <QSizeGrip>
#include <QWindow>

namespace pellimo::editor {

namespace {

// X11 reports every step of a resize and no end of it: the last event of a burst is the end.
constexpr int kResizeSettleMs = 150;
constexpr int kResizeOffMs = 500;
constexpr int kEdgeWidth = 6;

QPalette darkPalette() {
  QPalette palette;
  const QColor window(0x2b, 0x2b, 0x2b);
  const QColor base(0x1e, 0x1e, 0x1e);
  const QColor text(0xe6, 0xe6, 0xe6);
  palette.setColor(QPalette::Window, window);
  palette.setColor(QPalette::WindowText, text);
  palette.setColor(QPalette::Base, base);
  palette.setColor(QPalette::AlternateBase, window);
  palette.setColor(QPalette::Text, text);
  palette.setColor(QPalette::Button, QColor(0x3c, 0x3c, 0x3c));
  palette.setColor(QPalette::ButtonText, text);
  palette.setColor(QPalette::ToolTipBase, base);
  palette.setColor(QPalette::ToolTipText, text);
  palette.setColor(QPalette::PlaceholderText, QColor(0x8c, 0x8c, 0x8c));
  palette.setColor(QPalette::Highlight, QColor(0x26, 0x4f, 0x78));
  palette.setColor(QPalette::HighlightedText, Qt::white);
  palette.setColor(QPalette::Mid, QColor(0x50, 0x50, 0x50));
  palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
  palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
  palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
  return palette;
}

Qt::CursorShape cursorFor(Qt::Edges edges) {
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

}  // namespace

EditorView::EditorView(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), grip_(new QSizeGrip(this)) {
  setWindowTitle(tr("Pellimo editor"));
  setPalette(darkPalette());
  setAutoFillBackground(true);
  setMouseTracking(true);
  resizeSettled_.setSingleShot(true);
  resizeSettled_.setInterval(kResizeSettleMs);
  connect(&resizeSettled_, &QTimer::timeout, this, &EditorView::windowDidResize);
}

void EditorView::windowDidResize() {
  setResizable(false);
  QTimer::singleShot(kResizeOffMs, this, [this] { setResizable(true); });
}

void EditorView::setResizable(bool resizable) {
  resizable_ = resizable;
  grip_->setEnabled(resizable);
}

Qt::Edges EditorView::edgesAt(const QPoint& position) const {
  Qt::Edges edges;
  if (position.x() < kEdgeWidth) edges |= Qt::LeftEdge;
  if (position.x() >= width() - kEdgeWidth) edges |= Qt::RightEdge;
  if (position.y() < kEdgeWidth) edges |= Qt::TopEdge;
  if (position.y() >= height() - kEdgeWidth) edges |= Qt::BottomEdge;
  return edges;
}

void EditorView::mousePressEvent(QMouseEvent* event) {
  QWindow* window = windowHandle();
  if (event->button() != Qt::LeftButton || !window) {
    QWidget::mousePressEvent(event);
    return;
  }
  const Qt::Edges edges = resizable_ ? edgesAt(event->position().toPoint()) : Qt::Edges();
  if (edges) {
    window->startSystemResize(edges);
  } else {
    window->startSystemMove();
  }
}

void EditorView::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() == Qt::NoButton) {
    const Qt::Edges edges = resizable_ ? edgesAt(event->position().toPoint()) : Qt::Edges();
    setCursor(cursorFor(edges));
  }
  QWidget::mouseMoveEvent(event);
}

void EditorView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The size a window is shown with is its placement, not a resize.
  if (isVisible()) resizeSettled_.start();
}

}  // namespace pellimo::editor
