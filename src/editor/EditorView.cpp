// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorView.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSizeGrip>
#include <QWindow>

#include "colorpicker/ColorWell.h"
#include "editor/CodeEditorView.h"
#include "editor/DarkPalette.h"
#include "widget/WindowEdges.h"

namespace pellimo::editor {

namespace {

// X11 reports every step of a move or resize and no end of it: the last event of a burst is the
// end.
constexpr int kResizeSettleMs = 150;
constexpr int kResizeOffMs = 500;
constexpr QSize kWindowSize(560, 420);
constexpr int kMargin = 10;
constexpr int kReloadFieldWidth = 60;

QLabel* labelFor(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

QPushButton* button(const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setAutoDefault(false);
  return button;
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
  frameSettled_.setSingleShot(true);
  frameSettled_.setInterval(kResizeSettleMs);
  connect(&frameSettled_, &QTimer::timeout, this, &EditorView::frameSettled);
  layOut();
}

void EditorView::layOut() {
  Controls& c = controls_;
  c.LanguagePicker = new QComboBox(this);
  c.LanguagePicker->addItem(QStringLiteral("Shell"), 0);
  c.LanguagePicker->addItem(QStringLiteral("Ruby"), 1);
  c.LanguagePicker->addItem(QStringLiteral("Python"), 2);
  c.arguments = new QLineEdit(this);
  c.arguments->setPlaceholderText(tr("one,two"));
  c.reloadAfter = new QLineEdit(this);
  c.reloadAfter->setValidator(new QIntValidator(0, INT_MAX, c.reloadAfter));
  c.reloadAfter->setFixedWidth(kReloadFieldWidth);
  c.timeout = new QLineEdit(this);
  c.timeout->setValidator(new QIntValidator(0, INT_MAX, c.timeout));
  c.timeout->setFixedWidth(kReloadFieldWidth);
  c.timeout->setPlaceholderText(tr("60"));
  c.timeout->setToolTip(tr("A reloaded run that takes longer is stopped; 0 sets no limit"));
  c.lineFormat = new QComboBox(this);
  c.lineFormat->addItem(tr("Plain"), QStringLiteral("plain"));
  c.lineFormat->addItem(tr("Menu"), QStringLiteral("menu"));
  c.lineFormat->setToolTip(
      tr("Menu reads lines as menu-bar script tools do: \"text | color=red bash=…\", "
         "clickable lines, and a right-click menu from the lines after \"---\""));

  c.fontBtn = button(tr("&Font…"), this);
  c.fontColor = new colorpicker::ColorWell(this);
  c.backgroundBtn = button(tr("&Background…"), this);
  c.editor = new CodeEditorView(this);
  c.cancelBtn = button(tr("&Cancel"), this);
  c.runBtn = button(tr("&Run"), this);
  c.message = new QLabel(this);
  c.message->setWordWrap(true);
  c.message->setStyleSheet(QStringLiteral("color: #ff8a80;"));
  c.message->hide();

  auto* script = new QHBoxLayout;
  script->addWidget(labelFor(tr("Lan&guage"), c.LanguagePicker, this));
  script->addWidget(c.LanguagePicker);
  script->addWidget(labelFor(tr("&Arguments"), c.arguments, this));
  script->addWidget(c.arguments, 1);
  script->addWidget(labelFor(tr("Re&load every"), c.reloadAfter, this));
  script->addWidget(c.reloadAfter);
  script->addWidget(new QLabel(tr("s"), this));
  script->addWidget(labelFor(tr("&Time limit"), c.timeout, this));
  script->addWidget(c.timeout);
  script->addWidget(new QLabel(tr("s"), this));
  script->addWidget(labelFor(tr("Li&nes"), c.lineFormat, this));
  script->addWidget(c.lineFormat);

  // The script's title above the code editor, the widget's look beside it.
  auto* appearance = new QHBoxLayout;
  appearance->addWidget(labelFor(tr("&Script"), c.editor, this));
  appearance->addStretch(1);
  appearance->addWidget(c.fontBtn);
  appearance->addWidget(new QLabel(tr("Text colour"), this));
  appearance->addWidget(c.fontColor);
  appearance->addWidget(c.backgroundBtn);

  auto* actions = new QHBoxLayout;
  actions->addWidget(c.message, 1);
  actions->addStretch(1);
  actions->addWidget(c.cancelBtn);
  actions->addWidget(c.runBtn);
  actions->addWidget(grip_, 0, Qt::AlignBottom | Qt::AlignRight);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  layout->addLayout(script);
  layout->addLayout(appearance);
  layout->addWidget(c.editor, 1);
  layout->addLayout(actions);
  resize(kWindowSize);
}

void EditorView::windowDidResize() {
  widget::turnResizingOffBriefly(this, kResizeOffMs,
                                 [this](bool resizable) { setResizable(resizable); });
}

void EditorView::setResizable(bool resizable) {
  resizable_ = resizable;
  grip_->setEnabled(resizable);
}

Qt::Edges EditorView::resizableEdgesAt(const QPoint& position) const {
  return resizable_ ? widget::edgesAt(size(), position) : Qt::Edges();
}

void EditorView::mousePressEvent(QMouseEvent* event) {
  QWindow* window = windowHandle();
  if (event->button() != Qt::LeftButton || !window) {
    QWidget::mousePressEvent(event);
    return;
  }
  const Qt::Edges edges = resizableEdgesAt(event->position().toPoint());
  if (edges) {
    window->startSystemResize(edges);
  } else {
    window->startSystemMove();
  }
}

void EditorView::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() == Qt::NoButton) {
    setCursor(widget::cursorForEdges(resizableEdgesAt(event->position().toPoint())));
  }
  QWidget::mouseMoveEvent(event);
}

void EditorView::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (isVisible()) frameSettled_.start();
}

void EditorView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The size a window is shown with is its placement, not a resize.
  if (!isVisible()) return;
  resizeSettled_.start();
  frameSettled_.start();
}

}  // namespace pellimo::editor
