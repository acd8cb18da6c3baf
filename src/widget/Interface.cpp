// SPDX-License-Identifier: GPL-3.0-or-later
#include "widget/Interface.h"

#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace pellimo::widget {

namespace {

/// A small gear, drawn so that it needs no icon theme.
QIcon gearIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 214, 0));
  // The teeth turn in steps of 45 degrees, whose sines are written out: a rotation by an angle
  // would call the maths library's sine, whose first call alone keeps a few hundred KiB of it
  // resident in an idle widget.
  constexpr double kHalfRoot2 = 0.70710678118654752440;
  constexpr double kSines[] = {0, kHalfRoot2, 1, kHalfRoot2, 0, -kHalfRoot2, -1, -kHalfRoot2};
  for (int tooth = 0; tooth < 8; ++tooth) {
    const double sine = kSines[tooth], cosine = kSines[(tooth + 2) % 8];
    painter.setTransform(QTransform(cosine, sine, -sine, cosine, 16, 16));
    painter.drawRoundedRect(QRectF(-3, -15, 6, 8), 1.5, 1.5);
  }
  painter.setTransform(QTransform::fromTranslate(16, 16));
  QPainterPath ring;
  ring.addEllipse(QPointF(0, 0), 10.5, 10.5);
  ring.addEllipse(QPointF(0, 0), 4.5, 4.5);
  painter.drawPath(ring);
  return QIcon(pixmap);
}

}  // namespace

Interface::Interface()
    : view(new MainViewSub(&window)), canvas(new lbl(view)), configBtn(new QToolButton(view)) {
  auto* layout = new QVBoxLayout(&window);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view);
  canvas->setObjectName(QStringLiteral("canvas"));
  configBtn->setObjectName(QStringLiteral("configBtn"));
  configBtn->setIcon(gearIcon());
  configBtn->setIconSize(QSize(16, 16));
  configBtn->setAutoRaise(true);
  configBtn->setToolTip(QStringLiteral("Configure this widget"));
  configBtn->setFixedSize(22, 22);
  configBtn->setCursor(Qt::ArrowCursor);
  configBtn->hide();
  controller = std::make_unique<ViewController>(&window, view, canvas, configBtn);
  QObject::connect(&window, &windowSub::didMove, view, &MainViewSub::updateRect);
  QObject::connect(&window, &windowSub::didEndLiveResize, view, &MainViewSub::updateRect);
  QObject::connect(&window, &windowSub::didEndLiveResize, view, &MainViewSub::windowDidResize);
  QObject::connect(configBtn, &QToolButton::clicked, controller.get(),
                   [this] { controller->showConfig(configBtn); });
}

}  // namespace pellimo::widget
