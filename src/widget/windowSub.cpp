#include "widget/windowSub.h"

namespace pellimo::widget {

windowSub::windowSub(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint | Qt::Tool) {
  // Translucency must be chosen before the native window exists; it cannot change later.
  setAttribute(Qt::WA_TranslucentBackground);
  setWindowTitle(QStringLiteral("Pellimo"));
  resize(480, 270);
}

}  // namespace pellimo::widget
