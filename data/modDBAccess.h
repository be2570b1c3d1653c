#pragma once
// The routines through which the program reads the current city's database: OpenConnection and
// ExecuteQuery with the connection cnnCity and the result set rsResult. Failures are shown in a
// box "错误描述：…\r\n错误代码：…" titled "打开数据库错误" and reported as false. A thin face
// over CityDatabase, whose owner makes it the current one.
#include <QString>

#include "data/CityDatabase.h"

namespace modDBAccess {

// The current city's database, which the routines here and in modGetRecord and modBusChange
// read: the one its owner (frmMain, qiwu-cli, a test program) has made current with CurrentCity
// for as long as that lives; null while none is. The one global of the data access.
extern CityDatabase* cnnCity;

// Makes a database the current one for the life of this object, then restores the one before.
class CurrentCity {
 public:
  explicit CurrentCity(CityDatabase& database) : previous_(cnnCity) { cnnCity = &database; }
  ~CurrentCity() { cnnCity = previous_; }
  CurrentCity(const CurrentCity&) = delete;
  CurrentCity& operator=(const CurrentCity&) = delete;

 private:
  CityDatabase* previous_;
};

// The rows of the last ExecuteQuery on cnnCity, positioned where the reader left them; null
// before the first query, after a failed one and while no database is current.
ResultSet* rsResult();

// Opens the database at path (Jet 4.0 or SQLite, recognised by its first bytes) as cnnCity, in
// place of the one open so far. On failure shows the failure box and returns false; cnnCity is
// then unopened.
bool OpenConnection(const QString& path);

// Runs one statement (SQL text, UTF-16) on database; its rows land in database.currentResult
// (rsResult when database is cnnCity), positioned at the first row. On failure shows the
// failure box, leaves the result empty and returns false.
bool ExecuteQuery(CityDatabase& database, const QString& sql);

// As ExecuteQuery, for a statement that reads table, a name that may come from the data (a
// feature type). Unless database has that table (CityDatabase::HasTable), nothing runs: the
// failure is shown as for a rejected statement and the result is empty.
bool ExecuteQueryOnTable(CityDatabase& database, const QString& table, const QString& sql);

// The two above on cnnCity; while no database is current they show the failure box of a
// database that is not there and return false.
bool ExecuteQuery(const QString& sql);
bool ExecuteQueryOnTable(const QString& table, const QString& sql);

}  // namespace modDBAccess
