#include "data/BusTable.h"

#include <QSet>

#include "data/CityDatabase.h"
#include "data/CityVocabulary.h"
#include "data/Statements.h"
#include "data/TableName.h"

const BusTable& BusTable::Of(const CityDatabase& database) {
  BusTable& table = database.Derived<BusTable>();
  if (!table.read_) table = Read(database, QString::fromUtf8(city::kBusTable));
  return table;
}

BusTable BusTable::Read(const CityDatabase& database, const QString& table) {
  BusTable read;
  read.read_ = true;
  if (!IsPlainTableName(table)) {
    read.error_ = Outcome::Failure(kErrorStatementFailed, QStringLiteral("“%1”不是表名。").arg(table));
    return read;
  }
  const std::unique_ptr<ResultSet> rows = database.Query(statements::BusTableRows(table), read.error_);
  if (!rows) return read;
  // A line's name comes once for each of its stops: equal texts share one buffer.
  QSet<QString> texts;
  const auto shared = [&texts](const QVariant& value) {
    if (value.typeId() != QMetaType::QString) return value;
    return QVariant(*texts.insert(value.toString()));
  };
  read.rows_.reserve(rows->Rows().size());
  for (const std::vector<QVariant>& row : rows->Rows())
    read.rows_.push_back({shared(row.at(0)), shared(row.at(1)), row.at(2)});
  return read;
}
