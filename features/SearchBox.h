#pragma once
// The one search box: as the user types, a list under the box suggests stops, lines, places and
// roads (data/search/SearchIndex.h), each with its kind; Up and Down move in the list, Enter or a
// click takes a suggestion (Enter without a list takes the best one) and asks for it on the map
// (FeatureChosen), Esc closes the list. On an empty box the list shows the recent choices.
#include <QLineEdit>
#include <vector>

#include "data/search/SearchIndex.h"
#include "features/RecentSearches.h"

class CityDatabase;
class QTreeWidget;

class SearchBox : public QLineEdit {
  Q_OBJECT

 public:
  // database, which outlives the box, is the city whose names are searched; recentFile keeps
  // the recent choices.
  SearchBox(QWidget* parent, CityDatabase& database,
            const QString& recentFile = RecentSearches::DefaultFile());

  // The suggestion list, a popup window: column 0 the name (search::Entry::Label), column 1 the kind.
  QTreeWidget* Suggestions() const { return popup_; }

 signals:
  // Show the feature of that name on that layer.
  void FeatureChosen(const QString& layer, const QString& name);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Suggest();
  void Show(std::vector<search::Entry> entries);
  void ChooseCurrent();
  void Choose(const search::Entry& entry);

  CityDatabase& database_;
  RecentSearches recent_;
  QTreeWidget* popup_;
  std::vector<search::Entry> shown_;  // the list's rows
};
