#include "features/ResultRows.h"

#include <QHash>
#include <cmath>

#include "data/CityVocabulary.h"
#include "data/Statements.h"
#include "data/TextCollation.h"

namespace {

struct Contact {
  QString address;
  QString phone;
};

QString Text(const std::optional<QVariant>& value) {
  return value && !value->isNull() ? value->toString() : QString();
}

// The address and phone of the rows of table whose names are among names, keyed by FoldLatinCase; the
// first row of a name wins, as the card's look-up takes the first row.
QHash<QString, Contact> ContactsIn(CityDatabase& database, const QString& table, const QStringList& names) {
  QHash<QString, Contact> contacts;
  if (names.isEmpty() || !database.HasTable(table)) return contacts;
  Outcome error;
  const std::unique_ptr<ResultSet> result = database.Query(statements::RowsNamed(table, names), error);
  if (!result) return contacts;
  for (result->MoveFirst(); !result->AtEnd(); result->MoveNext()) {
    const QString key = FoldLatinCase(Text(result->Field(QString::fromUtf8(city::kNameField))));
    if (!contacts.contains(key))
      contacts.insert(key, {Text(result->Field(QString::fromUtf8(city::kAddressField))),
                            Text(result->Field(QString::fromUtf8(city::kTelField)))});
  }
  return contacts;
}

}  // namespace

ResultRow RowOf(const QString& name, const QString& type) {
  ResultRow row;
  row.name = name;
  row.type = type;
  return row;
}

std::vector<ResultRow> RowsOfFound(const FeatureSet& found, const QString& type, MapPoint centre) {
  std::vector<ResultRow> rows;
  for (const Feature& feature : found) {
    rows.push_back(RowOf(feature.DisplayName(), type));
    rows.back().distance = std::hypot(feature.CenterX() - centre.x, feature.CenterY() - centre.y);
    rows.back().at = feature.Center();
  }
  return rows;
}

void FillContacts(CityDatabase& database, std::vector<ResultRow>& rows) {
  QHash<QString, QStringList> namesOfType;
  for (const ResultRow& row : rows) namesOfType[row.type].append(row.name);
  for (auto it = namesOfType.cbegin(); it != namesOfType.cend(); ++it) {
    const QHash<QString, Contact> contacts = ContactsIn(database, it.key(), it.value());
    for (ResultRow& row : rows) {
      if (row.type != it.key()) continue;
      const auto contact = contacts.constFind(FoldLatinCase(row.name));
      if (contact != contacts.cend())
        std::tie(row.address, row.phone) = std::tie(contact->address, contact->phone);
    }
  }
}

std::vector<ResultRow> RowsOfKeywordNames(CityDatabase& database, const QStringList& names) {
  std::vector<ResultRow> rows;
  for (const QString& name : names) rows.push_back(RowOf(name, QString()));
  for (const char* tableName : city::kKeywordTables) {
    QStringList unclaimed;
    for (const ResultRow& row : rows)
      if (row.type.isEmpty()) unclaimed.append(row.name);
    const QString table = QString::fromUtf8(tableName);
    const QHash<QString, Contact> contacts = ContactsIn(database, table, unclaimed);
    for (ResultRow& row : rows) {
      const auto contact = contacts.constFind(FoldLatinCase(row.name));
      if (!row.type.isEmpty() || contact == contacts.cend()) continue;
      row.type = table;
      std::tie(row.address, row.phone) = std::tie(contact->address, contact->phone);
    }
  }
  return rows;
}

QStringList ResultHeader() {
  return {QStringLiteral("名称"), QStringLiteral("类型"), QStringLiteral("距离(米)"), QStringLiteral("地址"),
          QStringLiteral("电话"), QStringLiteral("属性"), QStringLiteral("X"),        QStringLiteral("Y"),
          QStringLiteral("经度"), QStringLiteral("纬度")};
}

QString MetresText(const std::optional<MapPoint>& at, bool x) {
  return at ? QString::number(x ? at->x : at->y, 'f', 2) : QString();
}

QString DegreesText(const std::optional<MapPoint>& lonLat, bool longitude) {
  return lonLat ? QString::number(longitude ? lonLat->x : lonLat->y, 'f', 6) : QString();
}

QStringList ResultCells(const ResultRow& row) {
  const QString distance = row.distance ? QString::number(*row.distance, 'f', 0) : QString();
  return {row.name,
          row.type,
          distance,
          row.address,
          row.phone,
          row.attributes,
          MetresText(row.at, true),
          MetresText(row.at, false),
          DegreesText(row.lonLat, true),
          DegreesText(row.lonLat, false)};
}
