#pragma once
// An image control: shows one picture at its top left corner (no scaling) and reports clicks
// and mouse moves. Used for the toolbar buttons and the panel tabs.
#include <QPixmap>
#include <QWidget>

namespace qiwu {

class ImageControl : public QWidget {
  Q_OBJECT

 public:
  explicit ImageControl(QWidget* parent);

  void SetPicture(const QPixmap& picture);
  const QPixmap& Picture() const { return picture_; }

 signals:
  void Click();
  void MouseMove();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QPixmap picture_;
  bool pressed_ = false;
};

}  // namespace qiwu
