#include "data/CityDatabase.h"

#include <sqlite3.h>

#include <algorithm>

#include "data/DatabaseLoader.h"
#include "data/ServerDatabase.h"
#include "data/SqliteQuery.h"
#include "data/TableName.h"

CityDatabase::CityDatabase() = default;
CityDatabase::~CityDatabase() { Close(); }

void CityDatabase::Close() {
  derived_.clear();  // before the rows it was read from
  tables_.clear();
  sqlite3_close_v2(db_);
  db_ = nullptr;
  server_.reset();
}

bool CityDatabase::Open(const QString& path, Outcome& error) {
  Close();
  path_ = path;
  if (path_.endsWith(QStringLiteral(".pg"))) {
    server_ = ServerDatabase::Connect(path_, error);
    if (server_) tables_ = server_->Tables();
    return server_ != nullptr;
  }
  db_ = LoadDatabase(path_, error);
  if (db_ == nullptr) return false;
  Outcome ignored;
  const auto names =
      RunStatement(db_, QStringLiteral("select name from sqlite_schema where type = 'table'"), ignored);
  if (names)
    for (const std::vector<QVariant>& row : names->Rows()) tables_ << row.at(0).toString();
  return true;
}

bool CityDatabase::HasTable(const QString& name) const {
  return IsPlainTableName(name) && std::any_of(tables_.begin(), tables_.end(),
                                               [&](const QString& table) { return SameName(table, name); });
}

std::unique_ptr<ResultSet> CityDatabase::Query(const QString& sql, Outcome& error) const {
  if (!IsOpen()) {
    error = Outcome::Failure(kErrorOpenFailed, QStringLiteral("数据库没有打开。"));
    return nullptr;
  }
  return server_ ? server_->Query(sql, error) : RunStatement(db_, sql, error);
}

bool CityDatabase::ConnectionLost() const { return server_ && server_->Lost(); }

QString CityDatabase::ServerConnection() const { return server_ ? server_->ConnectionString() : QString(); }
