#include "data/jet/JetToSqlite.h"

#include <mdbtools.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "data/SqliteHandles.h"
#include "data/SqliteStep.h"

namespace {

enum class Storage { Integer, Real, Text, Blob };

Storage StorageOf(int columnType) {
  switch (columnType) {
    case MDB_BOOL:
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
    case MDB_COMPLEX:
      return Storage::Integer;
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_MONEY:
    case MDB_NUMERIC:
      return Storage::Real;
    case MDB_BINARY:
    case MDB_OLE:
      return Storage::Blob;
    default:  // text, memo, date and time, replication id
      return Storage::Text;
  }
}

const char* DeclaredType(Storage storage) {
  switch (storage) {
    case Storage::Integer:
      return "INTEGER";
    case Storage::Real:
      return "REAL";
    case Storage::Blob:
      return "BLOB";
    case Storage::Text:
      break;
  }
  return "TEXT";
}

std::string QuotedName(const char* name) {
  std::string quoted = "\"";
  for (const char* p = name; *p; ++p) {
    if (*p == '"') quoted += '"';
    quoted += *p;
  }
  return quoted + "\"";
}

struct TableCloser {
  void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
struct HandleCloser {
  void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};

// One bound column: libmdb writes each fetched value, converted to UTF-8 text, into text.
struct BoundColumn {
  MdbColumn* column = nullptr;
  Storage storage = Storage::Text;
  std::vector<char> text;
  int length = 0;
};

int BindValue(sqlite3_stmt* insert, int index, MdbHandle* mdb, BoundColumn& bound) {
  if (bound.column->col_type == MDB_OLE) {
    size_t size = 0;
    void* data = bound.length > 0 ? mdb_ole_read_full(mdb, bound.column, &size) : nullptr;
    if (data == nullptr) return sqlite3_bind_null(insert, index);
    const int rc = sqlite3_bind_blob64(insert, index, data, size, SQLITE_TRANSIENT);
    g_free(data);
    return rc;
  }
  if (bound.length <= 0) return sqlite3_bind_null(insert, index);
  const char* value = bound.text.data();
  // Numbers arrive as text; parse a terminated copy (the helper runs in the C locale).
  const std::string number(value, std::size_t(bound.length));
  switch (bound.storage) {
    case Storage::Integer:
      return sqlite3_bind_int64(insert, index, std::strtoll(number.c_str(), nullptr, 10));
    case Storage::Real:
      return sqlite3_bind_double(insert, index, std::strtod(number.c_str(), nullptr));
    case Storage::Blob:
      return sqlite3_bind_blob(insert, index, value, bound.length, SQLITE_TRANSIENT);
    case Storage::Text:
      break;
  }
  return sqlite3_bind_text(insert, index, value, bound.length, SQLITE_TRANSIENT);
}

bool CopyTable(MdbHandle* mdb, MdbCatalogEntry* entry, sqlite3* db, std::string& failure) {
  const std::string tableName = entry->object_name;
  failure = "无法读取表“" + tableName + "”";
  std::unique_ptr<MdbTableDef, TableCloser> table(mdb_read_table(entry));
  if (!table || mdb_read_columns(table.get()) == nullptr || table->num_cols == 0) return false;

  std::vector<BoundColumn> columns(table->num_cols);
  std::string create = "CREATE TABLE " + QuotedName(entry->object_name) + " (";
  std::string insertSql = "INSERT INTO " + QuotedName(entry->object_name) + " VALUES (";
  for (unsigned i = 0; i < table->num_cols; ++i) {
    BoundColumn& bound = columns[i];
    bound.column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
    bound.storage = StorageOf(bound.column->col_type);
    bound.text.assign(mdb->bind_size + 1, '\0');
    mdb_bind_column(table.get(), int(i) + 1, bound.text.data(), &bound.length);
    create += (i ? ", " : "") + QuotedName(bound.column->name) + " " + DeclaredType(bound.storage);
    insertSql += i ? ", ?" : "?";
  }
  if (RunOneStatement(db, create + ")") != SQLITE_OK) return false;
  const SqliteStatement insert = Prepare(db, insertSql + ")");
  if (!insert) return false;

  mdb_rewind_table(table.get());
  while (mdb_fetch_row(table.get())) {
    for (unsigned i = 0; i < table->num_cols; ++i) {
      if (BindValue(insert.get(), int(i) + 1, mdb, columns[i]) != SQLITE_OK) return false;
    }
    if (sqlite3_step(insert.get()) != SQLITE_DONE) return false;
    sqlite3_reset(insert.get());
  }
  failure.clear();
  return true;
}

}  // namespace

bool CopyJetToSqlite(const std::string& path, sqlite3* db, std::string& failure) {
  std::unique_ptr<MdbHandle, HandleCloser> mdb(mdb_open(path.c_str(), MDB_NOFLAGS));
  if (!mdb) {
    failure = "无法打开 Access 数据库";
    return false;
  }
  // Room for a full Jet memo (65,535 characters as UTF-8); libmdb cuts anything longer.
  mdb_set_bind_size(mdb.get(), 256 * 1024);
  mdb_set_date_fmt(mdb.get(), "%Y-%m-%d %H:%M:%S");
  mdb_set_boolean_fmt_numbers(mdb.get());
  if (mdb_read_catalog(mdb.get(), MDB_TABLE) == nullptr) {
    failure = "无法读取 Access 数据库的表目录";
    return false;
  }
  if (RunOneStatement(db, "BEGIN") != SQLITE_OK) {
    failure = "无法建立内存数据库";
    return false;
  }
  for (unsigned i = 0; i < mdb->num_catalog; ++i) {
    auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
    if (entry->object_type != MDB_TABLE || !mdb_is_user_table(entry)) continue;
    if (!CopyTable(mdb.get(), entry, db, failure)) return false;
  }
  if (RunOneStatement(db, "COMMIT") == SQLITE_OK) return true;
  failure = "无法建立内存数据库";
  return false;
}
