#pragma once
// A small city for the search box: stops and lines, places of three point types (polyphones,
// Latin letters, names sharing a start), roads, other names of places and roads, and hostile rows
// (a type name that is a statement, a type without a table, null, empty and over-long names,
// other names of features the city lacks). Laid out like a program
// directory (data/ and map/), its layers holding the features the box locates.
#include <QString>
#include <QTemporaryDir>

#include "map/MapTypes.h"

class SearchCity {
 public:
  static const SearchCity& Get();  // written once per test program

  QString Root() const { return dir_.path(); }
  QString Name() const;
  QString DatabasePath() const;
  QString WorkspacePath() const;

  static constexpr MapPoint kRestaurant{500300, 3400400};  // where 百味菜馆 stands

 private:
  SearchCity();
  QTemporaryDir dir_;
};
