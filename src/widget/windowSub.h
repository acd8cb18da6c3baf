#pragma once

#include <QWidget>

namespace pellimo::widget {

/// The borderless widget window.
class windowSub : public QWidget {
  Q_OBJECT

 public:
  explicit windowSub(QWidget* parent = nullptr);
};

}  // namespace pellimo::widget
