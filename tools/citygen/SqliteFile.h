#pragma once
// One SQLite file written by statements and rows. The first failure is kept; later calls do nothing.
#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace citygen {

// A value to store: NULL, an integer or a text.
using Cell = std::variant<std::monostate, std::int64_t, std::string>;
using CellRow = std::vector<Cell>;

class SqliteFile {
 public:
  explicit SqliteFile(const std::string& path);

  const std::string& error() const { return error_; }

  void Run(const std::string& sql);
  // One row per entry of rows, into the named columns (names are quoted as identifiers).
  void Insert(const std::string& table, const std::vector<std::string>& columns,
              const std::vector<CellRow>& rows);

 private:
  struct Close {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
  };
  std::unique_ptr<sqlite3, Close> db_;
  std::string error_;
};

// The identifier quoted for SQL: "name", with inner quotes doubled.
std::string QuotedName(const std::string& name);

}  // namespace citygen
