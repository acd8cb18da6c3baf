#pragma once

#include <QColor>
#include <QWidget>

namespace pellimo::widget {

class ViewController;

/// The widget window's content view: paints the layer (background, rounded corners, border)
/// behind the canvas.
class MainViewSub : public QWidget {
  Q_OBJECT

 public:
  explicit MainViewSub(QWidget* parent = nullptr);

  void setRoot(ViewController* root) { root_ = root; }
  ViewController* root() const { return root_; }

  void setLayerBackground(const QColor& color);
  void setBorder(const QColor& color, double width);
  void setCornerRadius(double radius);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ViewController* root_ = nullptr;
  QColor background_ = Qt::transparent;
  QColor border_ = Qt::transparent;
  double borderWidth_ = 0;
  double cornerRadius_ = 0;
};

}  // namespace pellimo::widget
