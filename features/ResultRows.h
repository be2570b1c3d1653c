#pragma once
// The rows of the result table: what a search found, with each feature's address and telephone
// read from its type's table the way the information card reads them. No widgets.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "data/CityDatabase.h"
#include "map/Feature.h"
#include "map/MapTypes.h"

struct ResultRow {
  QString name;
  QString type;                    // the feature type, which names its table and its layer
  std::optional<double> distance;  // metres from the picked point; none outside a radius search
  QString address;
  QString phone;
  QString attributes;              // a map selection's row: every field of its layer, "字段：值；…"
  std::optional<MapPoint> at;      // the feature's centre in map metres; none when not found on the map
  std::optional<MapPoint> lonLat;  // the same point in WGS 84 degrees (x longitude)
};

// A row of only a name and a type.
ResultRow RowOf(const QString& name, const QString& type);

// The features a radius search found on the layer of type, in the search's order, with their
// planar distance (metres) from centre to each feature's centre, and that centre. Address and phone
// stay empty.
std::vector<ResultRow> RowsOfFound(const FeatureSet& found, const QString& type, MapPoint centre);

// Fills address and phone from column address and tel of each row's type table, matching the name
// as the card does (name = '…'); one statement per type. A type that is no table of the database,
// a table without those columns or a failed statement leaves the cells empty and shows nothing.
void FillContacts(CityDatabase& database, std::vector<ResultRow>& rows);

// The names of the keyword list, each with the first keyword table (in the keyword search's table
// order) that holds it as its type, and its address and phone from that table; one statement per
// table. A name none of them holds keeps an empty type.
std::vector<ResultRow> RowsOfKeywordNames(CityDatabase& database, const QStringList& names);

// The table's header and a row's cells as they are copied and exported: the distance in whole
// metres, X and Y in map metres to 0.01, longitude and latitude to six decimals, without grouping,
// so spreadsheets read them as numbers. Coordinates come last; a row without them leaves them empty.
QStringList ResultHeader();
QStringList ResultCells(const ResultRow& row);
// The texts of a row's coordinates, as the table shows and exports them (X, Y, 经度, 纬度).
QString MetresText(const std::optional<MapPoint>& at, bool x);
QString DegreesText(const std::optional<MapPoint>& lonLat, bool longitude);
