#pragma once
// A line control: a straight line between two points of its parent, given in twips
// (X1, Y1, X2, Y2) with a colour in 0x00BBGGRR. It draws beneath the other controls, the way
// a form's line sits on the form itself. The end points read back as the twips that were set.
#include <QWidget>

namespace qiwu {

class LineControl : public QWidget {
 public:
  LineControl(QWidget* parent, int x1, int y1, int x2, int y2, quint32 bgrColor);

  int X1() const { return x1_; }
  int Y1() const { return y1_; }
  int X2() const { return x2_; }
  int Y2() const { return y2_; }
  void SetY2(int twips);
  quint32 BorderColor() const { return color_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Place();

  int x1_, y1_, x2_, y2_;
  quint32 color_;
};

}  // namespace qiwu
