#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "tools/citygen/Writers.h"

namespace citygen {
namespace {

struct CloseDb {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct Finalize {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

class Database {
 public:
  explicit Database(const std::string& path) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK)
      error_ = "cannot create " + path + ": " + sqlite3_errmsg(db);
    db_.reset(db);
  }

  const std::string& error() const { return error_; }

  void Run(const std::string& sql) {
    if (!error_.empty()) return;
    char* message = nullptr;
    if (sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
      error_ = sql + ": " + (message ? message : "");
      sqlite3_free(message);
    }
  }

  // Inserts one row per entry of `rows`; a value is text, or NULL when empty, or an integer
  // when `integer` marks its column (by position).
  void Insert(const std::string& table, const std::vector<std::string>& columns,
              const std::vector<std::vector<std::string>>& rows, const std::vector<bool>& integer = {}) {
    if (!error_.empty()) return;
    std::string sql = "INSERT INTO " + table + " (";
    std::string marks;
    for (std::size_t k = 0; k < columns.size(); ++k) {
      sql += (k ? ", " : "") + columns[k];
      marks += k ? ", ?" : "?";
    }
    sql += ") VALUES (" + marks + ")";
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_.get(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
      error_ = sql + ": " + sqlite3_errmsg(db_.get());
      return;
    }
    std::unique_ptr<sqlite3_stmt, Finalize> statement(raw);
    for (const auto& row : rows) {
      for (std::size_t k = 0; k < row.size(); ++k) {
        const int slot = int(k) + 1;
        if (k < integer.size() && integer[k])
          sqlite3_bind_int64(raw, slot, std::stoll(row[k]));
        else if (row[k].empty())
          sqlite3_bind_null(raw, slot);
        else
          sqlite3_bind_text(raw, slot, row[k].c_str(), int(row[k].size()), SQLITE_TRANSIENT);
      }
      if (sqlite3_step(raw) != SQLITE_DONE) {
        error_ = sql + ": " + sqlite3_errmsg(db_.get());
        return;
      }
      sqlite3_reset(raw);
    }
  }

 private:
  std::unique_ptr<sqlite3, CloseDb> db_;
  std::string error_;
};

void NameTable(Database& db, const std::string& table, const std::vector<std::string>& names) {
  db.Run("CREATE TABLE " + table + " (name TEXT)");
  std::vector<std::vector<std::string>> rows;
  for (const auto& name : names) rows.push_back({name});
  db.Insert(table, {city::kNameField}, rows);
}

template <typename T>
std::vector<std::string> NamesOf(const std::vector<T>& items) {
  std::vector<std::string> names;
  for (const auto& item : items) names.push_back(item.name);
  return names;
}

}  // namespace

std::string WriteDatabase(const City& city, const std::string& dbPath) {
  const std::string temporary = dbPath + ".new";
  std::filesystem::remove(temporary);
  {
    Database db(temporary);
    // Written under a temporary name and renamed at the end: no journal, no waiting for the disk.
    db.Run("PRAGMA journal_mode = OFF");
    db.Run("PRAGMA synchronous = OFF");
    db.Run("BEGIN");
    // The rows of a line go in one after another in riding order: readers that ask without an
    // order clause get them as stored.
    db.Run("CREATE TABLE 公交信息 (线路名 TEXT, 站名 TEXT, 顺序 INTEGER, ID INTEGER)");
    std::vector<std::vector<std::string>> bus;
    for (const BusLine& line : city.lines) {
      for (std::size_t k = 0; k < line.stops.size(); ++k) {
        bus.push_back(
            {line.name, city.stops[line.stops[k]].name, std::to_string(k + 1), std::to_string(line.id)});
      }
    }
    db.Insert(city::kBusTable, {city::kLineField, city::kStopField, city::kOrderField, "ID"}, bus,
              {false, false, true, true});

    db.Run("CREATE TABLE 地物类型 (typeName TEXT, type TEXT)");
    std::vector<std::vector<std::string>> types;
    for (PoiType type : kPoiTypes) types.push_back({PoiTypeName(type), city::kPointKind});
    types.push_back({layer::kBusStops, city::kPointKind});
    for (RoadClass roadClass : {RoadClass::Main, RoadClass::Secondary, RoadClass::Branch}) {
      types.push_back({RoadLayerName(roadClass), city::kLineKind});
    }
    types.push_back({layer::kGreens, city::kAreaKind});
    types.push_back({layer::kWaters, city::kAreaKind});
    db.Insert(city::kTypeTable, {city::kTypeNameField, city::kTypeKindField}, types);

    db.Run("CREATE TABLE 餐饮娱乐 (name TEXT, linkman TEXT, tel TEXT, address TEXT, web TEXT)");
    std::vector<std::vector<std::string>> dining;
    for (const Poi& poi : city.pois[size_t(PoiType::Dining)])
      dining.push_back({poi.name, poi.linkman, poi.tel, poi.address, poi.web});
    db.Insert(layer::kDining,
              {city::kNameField, city::kLinkmanField, city::kTelField, city::kAddressField, city::kWebField},
              dining);
    for (PoiType type : kPoiTypes) {
      if (type != PoiType::Dining) NameTable(db, PoiTypeName(type), NamesOf(city.pois[size_t(type)]));
    }
    NameTable(db, layer::kBusStops, NamesOf(city.stops));
    for (RoadClass roadClass : {RoadClass::Main, RoadClass::Secondary, RoadClass::Branch}) {
      std::vector<std::string> names;
      for (const Road& road : city.roads)
        if (road.roadClass == roadClass) names.push_back(road.name);
      NameTable(db, RoadLayerName(roadClass), names);
    }
    NameTable(db, layer::kGreens, NamesOf(city.greens));
    NameTable(db, layer::kWaters, NamesOf(city.waters));
    db.Run("COMMIT");
    if (!db.error().empty()) return db.error();
  }
  std::error_code failure;
  std::filesystem::rename(temporary, dbPath, failure);
  return failure ? "cannot replace " + dbPath + ": " + failure.message() : "";
}

}  // namespace citygen
