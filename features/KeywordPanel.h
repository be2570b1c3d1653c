#pragma once
// The keyword panel picShow(1): every change of txtLike lists in lstShow(1) the names of the
// eight keyword tables that contain the text. The controls are children of the panel's picture
// box; this object lives as long as that picture box. A name picked in the list is handed on as
// NameChosen: the list does not say which table it came from.
#include <QObject>
#include <QString>
#include <vector>

#include "features/ResultRows.h"

class CityDatabase;
class QLabel;
class QLineEdit;
class QListWidget;
class QWidget;

class KeywordPanel : public QObject {
  Q_OBJECT

 public:
  // database is the city whose names are searched; it outlives the panel.
  KeywordPanel(QWidget* picShow1, CityDatabase& database);

  QLabel* Label5;         // "输入关键字"
  QLineEdit* txtLike;     // the keyword, empty at start
  QLabel* Label6;         // "查询结果"
  QListWidget* lstShow1;  // lstShow(1): matching names

  // txtLike changed: empties lstShow(1) and, for a non-empty keyword, searches it.
  void txtLike_Change();
  // An item of lstShow(1) was picked (a mouse click on it, or Enter on the current item).
  void lstShow_Click();
  // The panel was opened: typing goes to txtLike.
  void FocusKeyword();

 public slots:
  // Hands lstShow(1)'s names, each with the first keyword table that holds it, on as ResultsReady.
  void OfferResults();

 signals:
  // Show a feature of that name, in whichever layer has one.
  void NameChosen(const QString& name);
  // The panel's results, for the result table: a title and the rows of its list.
  void ResultsReady(const QString& title, const std::vector<ResultRow>& rows);

 private:
  CityDatabase& database_;
};
