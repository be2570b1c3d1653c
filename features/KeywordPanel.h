#pragma once
// The keyword panel picShow(1): every change of txtLike lists in lstShow(1) the names of the
// eight keyword tables that contain the text. The controls are children of the panel's picture
// box; this object lives as long as that picture box.
#include <QObject>

class QLabel;
class QLineEdit;
class QListWidget;
class QWidget;
struct MainContext;

class KeywordPanel : public QObject {
  Q_OBJECT

 public:
  KeywordPanel(QWidget* picShow1, MainContext& context);

  QLabel* Label5;         // "输入关键字"
  QLineEdit* txtLike;     // the keyword, empty at start
  QLabel* Label6;         // "查询结果"
  QListWidget* lstShow1;  // lstShow(1): matching names

  // txtLike changed: empties lstShow(1) and, for a non-empty keyword, searches it.
  void txtLike_Change();
};
