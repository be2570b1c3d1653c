#pragma once
// The plan window "公交换乘": the names of the last search and its transfer plan text. It is a
// top-level window owned by the main window, created hidden by the bus panel's search button
// and deleted when the user closes it (its close control or Esc). Apart from Esc it handles none
// of its events; the bus panel fills it.
#include <QWidget>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class PlanTextBox;

class frmBus : public QWidget {
  Q_OBJECT

 public:
  // A hidden window owned by owner (the main window); client area 4215 x 5085 twips.
  explicit frmBus(QWidget* owner);

  std::array<QLabel*, 2> Label1;  // "出发站", "目的站"
  QLineEdit* txtStart;            // departure name
  QLineEdit* txtEnd;              // destination name
  QGroupBox* Frame1;              // "乖车方案"
  PlanTextBox* rtxtBusChange;     // the transfer plan text
};
