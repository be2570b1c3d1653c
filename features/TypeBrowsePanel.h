#pragma once
// The type browse panel picShow(0): a feature type chosen in cmbType(0) lists the names of all
// features of that type in lstShow(0). The controls are children of the panel's picture box,
// placed in twips inside it; this object lives as long as that picture box. A name picked in the
// list is handed on as FeatureChosen.
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "features/ResultRows.h"

class CityDatabase;
class QComboBox;
class QListWidget;
class QWidget;

class TypeBrowsePanel : public QObject {
  Q_OBJECT

 public:
  // database is the city whose features are listed; it outlives the panel.
  TypeBrowsePanel(QWidget* picShow0, CityDatabase& database);

  QComboBox* cmbType0;    // cmbType(0): every type name, choose only
  QListWidget* lstShow0;  // lstShow(0): the names of the chosen type

  // The handler shared by every cmbType member: lists the features of the type in cmbType(0)
  // into lstShow(0), whichever selector fired.
  void ListChosenType();
  // An item of lstShow(0) was picked (a mouse click on it, or Enter on the current item).
  void lstShow_Click();

 public slots:
  // A city is open: fills cmbType(0) with every type name from the new database and chooses its first entry.
  // afterRead runs after each statement (it may end the program).
  void CityOpened(const std::function<void()>& afterRead);
  // Hands lstShow(0)'s names, with their type and contacts, on as ResultsReady.
  void OfferResults();

 signals:
  // Show the feature of that name on the layer of that type.
  void FeatureChosen(const QString& layer, const QString& name);
  // The panel's results, for the result table: a title and the rows of its list.
  void ResultsReady(const QString& title, const std::vector<ResultRow>& rows);

 private:
  CityDatabase& database_;
};
