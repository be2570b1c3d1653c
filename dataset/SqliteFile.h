#pragma once
// One SQLite file written by statements and rows. The first failure is kept; later calls do nothing.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "data/SqliteHandles.h"

namespace citygen {

// Bytes stored as a BLOB.
struct Blob {
  std::string bytes;
};

// A value to store: NULL, an integer, a fraction, a text or bytes.
using Cell = std::variant<std::monostate, std::int64_t, std::string, double, Blob>;
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
  SqliteDb db_;
  std::string error_;
};

struct Column {
  const char* name;
  const char* type;
};

// Creates the table with the columns and fills it with the rows.
void WriteTable(SqliteFile& db, const std::string& table, const std::vector<Column>& columns,
                const std::vector<CellRow>& rows);

// The identifier quoted for SQL: "name", with inner quotes doubled.
std::string QuotedName(const std::string& name);

}  // namespace citygen
