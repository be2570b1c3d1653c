#include "dataset/SqliteFile.h"

namespace citygen {
namespace {

void Bind(sqlite3_stmt* statement, int slot, const Cell& cell) {
  if (const auto* number = std::get_if<std::int64_t>(&cell)) {
    sqlite3_bind_int64(statement, slot, *number);
  } else if (const auto* text = std::get_if<std::string>(&cell)) {
    sqlite3_bind_text(statement, slot, text->c_str(), int(text->size()), SQLITE_TRANSIENT);
  } else if (const auto* fraction = std::get_if<double>(&cell)) {
    sqlite3_bind_double(statement, slot, *fraction);
  } else if (const auto* blob = std::get_if<Blob>(&cell)) {
    sqlite3_bind_blob(statement, slot, blob->bytes.data(), int(blob->bytes.size()), SQLITE_TRANSIENT);
  } else {
    sqlite3_bind_null(statement, slot);
  }
}

}  // namespace

std::string QuotedName(const std::string& name) {
  std::string quoted = "\"";
  for (char c : name) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

void WriteTable(SqliteFile& db, const std::string& table, const std::vector<Column>& columns,
                const std::vector<CellRow>& rows) {
  std::string create = "CREATE TABLE " + table + " (";
  std::vector<std::string> names;
  for (const Column& column : columns) {
    create += (names.empty() ? "" : ", ") + std::string(column.name) + " " + column.type;
    names.push_back(column.name);
  }
  db.Run(create + ")");
  db.Insert(table, names, rows);
}

SqliteFile::SqliteFile(const std::string& path) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK)
    error_ = "cannot create " + path + ": " + sqlite3_errmsg(db);
  db_.reset(db);
}

void SqliteFile::Run(const std::string& sql) {
  if (!error_.empty()) return;
  char* message = nullptr;
  if (sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    error_ = sql + ": " + (message ? message : "");
    sqlite3_free(message);
  }
}

void SqliteFile::Insert(const std::string& table, const std::vector<std::string>& columns,
                        const std::vector<CellRow>& rows) {
  if (!error_.empty()) return;
  std::string sql = "INSERT INTO " + QuotedName(table) + " (";
  std::string marks;
  for (std::size_t k = 0; k < columns.size(); ++k) {
    sql += (k ? ", " : "") + QuotedName(columns[k]);
    marks += k ? ", ?" : "?";
  }
  sql += ") VALUES (" + marks + ")";
  const SqliteStatement statement = Prepare(db_.get(), sql);
  if (!statement) {
    error_ = sql + ": " + sqlite3_errmsg(db_.get());
    return;
  }
  sqlite3_stmt* const raw = statement.get();
  for (const CellRow& row : rows) {
    for (std::size_t k = 0; k < row.size(); ++k) Bind(raw, int(k) + 1, row[k]);
    if (sqlite3_step(raw) != SQLITE_DONE) {
      error_ = sql + ": " + sqlite3_errmsg(db_.get());
      return;
    }
    sqlite3_reset(raw);
  }
}

}  // namespace citygen
