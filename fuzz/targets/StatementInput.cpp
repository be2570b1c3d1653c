// Fuzz body for the statement builders: arbitrary table and field names, conditions, orders,
// keywords and values, run on a small city database loaded the way the program loads one.
#include <sqlite3.h>

#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <optional>

#include "data/CityVocabulary.h"
#include "data/DatabaseLoader.h"
#include "data/LikePattern.h"
#include "data/SqliteHandles.h"
#include "data/SqliteQuery.h"
#include "data/modGetRecord.h"
#include "fuzz/targets/FuzzCheck.h"
#include "fuzz/targets/FuzzTargets.h"

namespace qiwufuzz {

namespace {

const QStringList kKeywordTables(std::begin(city::kKeywordTables), std::end(city::kKeywordTables));
// No two of them differ only in the case of Latin letters: the program's text comparison
// takes such names as one.
const QStringList kNames{"北京路",   "Tony's 餐厅", "100%纯",   "a_b",  "ABC酒家", "x\\y", "😀表情",
                         "引号\"店", "'",           "%",        "_",    "''",      "东门", "东门外",
                         "银行 ATM", "Ab%c_d",      "1号线'\\", "a\tb", ""};

bool Exec(sqlite3* db, const QString& sql) {
  return sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The eight keyword tables, each with every name, written to an SQLite file and loaded as the
// program loads a city database. RunStatement interrupts statements that run too long.
sqlite3* CityDatabase() {
  static QTemporaryDir dir;
  const QString path = QDir(dir.path()).filePath(QStringLiteral("city.mdb"));
  sqlite3* raw = nullptr;
  Check(sqlite3_open(path.toUtf8().constData(), &raw) == SQLITE_OK, "create the sample database");
  const SqliteDb file(raw);
  for (const QString& table : kKeywordTables) {
    Check(Exec(raw, "create table " + table + " (name text, 地址 text)"), "create a keyword table");
    for (const QString& name : kNames) {
      SqliteStatement insert = Prepare(raw, ("insert into " + table + " values (?1, 'x')").toStdString());
      const QByteArray utf8 = name.toUtf8();
      sqlite3_bind_text(insert.get(), 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
      Check(sqlite3_step(insert.get()) == SQLITE_DONE, "insert a name");
    }
  }
  Outcome error;
  sqlite3* db = LoadDatabase(path, error);
  Check(db != nullptr, "load the sample database");
  return db;
}

QString AsciiLower(const QString& text) {
  QString lower = text;
  for (QChar& c : lower)
    if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + 32);
  return lower;
}

// A part as text, or nothing when its bytes are not UTF-8.
std::optional<QString> Text(const QByteArray& bytes) {
  const QString text = QString::fromUtf8(bytes);
  if (text.toUtf8() != bytes) return std::nullopt;
  return text;
}

QSet<QString> FirstColumn(const ResultSet& rows) {
  QSet<QString> values;
  for (const auto& row : rows.Rows()) values.insert(row.at(0).toString());
  return values;
}

// A keyword matches the names that contain it, Latin case aside; %, _ and ' are letters.
void CheckKeyword(sqlite3* db, const QString& keyword) {
  Outcome error;
  const auto rows = RunStatement(db, modGetRecord::KeywordStatement("name", keyword), error);
  Check(rows != nullptr, "a keyword statement always runs");
  QSet<QString> expected;
  for (const QString& name : kNames)
    if (AsciiLower(name).contains(AsciiLower(keyword))) expected.insert(name);
  Check(FirstColumn(*rows) == expected, "a keyword finds exactly the names containing it");
}

// A quoted value compares equal to exactly the names it spells.
void CheckQuotedValue(sqlite3* db, const QString& value) {
  Outcome error;
  const QString condition = " where name = '" + modGetRecord::SqlText(value) + "'";
  const auto rows = RunStatement(
      db, modGetRecord::FieldValueStatement(city::layer::kDining, city::kNameField, condition), error);
  Check(rows != nullptr, "a quoted value always runs");
  QSet<QString> expected;
  for (const QString& name : kNames)
    if (AsciiLower(name) == AsciiLower(value)) expected.insert(name);
  Check(FirstColumn(*rows) == expected, "a quoted value finds exactly its own name");
}

// The program's like() answers as SQLite's own does.
void CheckLike(const QByteArray& pattern, const QByteArray& text, const QByteArray& escape) {
  static const SqliteDb plain = [] {
    sqlite3* raw = nullptr;
    sqlite3_open(":memory:", &raw);
    return SqliteDb(raw);
  }();
  const bool withEscape = !escape.isEmpty() && QString::fromUtf8(escape).size() == 1 &&
                          !QString::fromUtf8(escape).at(0).isSurrogate();
  SqliteStatement like = Prepare(plain.get(), withEscape ? "select like(?1, ?2, ?3)" : "select like(?1, ?2)");
  sqlite3_bind_text(like.get(), 1, pattern.constData(), int(pattern.size()), SQLITE_STATIC);
  sqlite3_bind_text(like.get(), 2, text.constData(), int(text.size()), SQLITE_STATIC);
  if (withEscape) sqlite3_bind_text(like.get(), 3, escape.constData(), int(escape.size()), SQLITE_STATIC);
  Check(sqlite3_step(like.get()) == SQLITE_ROW, "SQLite's like answers");
  const bool sqliteMatches = sqlite3_column_int(like.get(), 0) != 0;
  const LikePattern ours(pattern.toStdString(),
                         withEscape ? std::optional<std::string_view>(escape.toStdString()) : std::nullopt);
  Check(ours.Matches(text.toStdString()) == sqliteMatches, "like() agrees with SQLite's");
}

}  // namespace

int StatementInput(const std::uint8_t* data, std::size_t size) {
  static sqlite3* const db = CityDatabase();
  const QByteArrayList parts = Parts(data, size, 5);
  const std::optional<QString> keyword = Text(parts[0]);
  if (keyword) {
    CheckKeyword(db, *keyword);
    CheckQuotedValue(db, *keyword);
    // SQLite's own like() reads its arguments only up to a NUL.
    const bool noNul = !parts[0].contains('\0') && !parts[1].contains('\0') && !parts[2].contains('\0');
    if (noNul && Text(parts[1]) && Text(parts[2])) CheckLike(parts[0], parts[1], parts[2]);
  }
  // Any names at all: the statement runs or fails with a reason, and the data stay as they were.
  const QString table = QString::fromUtf8(parts[1]), field = QString::fromUtf8(parts[2]);
  const QString condition = QString::fromUtf8(parts[3]), order = QString::fromUtf8(parts[4]);
  for (const QString& sql : {modGetRecord::FillListStatement(table, field, condition, order, size % 2 == 0),
                             modGetRecord::FieldValueStatement(table, field, condition)}) {
    Outcome error;
    if (!RunStatement(db, sql, error))
      Check(!error.description.isEmpty() && error.number == kErrorStatementFailed,
            "a failed statement says why");
  }
  Outcome error;
  const auto count = RunStatement(db, "select count(*) from 支路", error);
  Check(count && count->Rows().at(0).at(0).toLongLong() == kNames.size(), "statements change no data");
  return 0;
}

}  // namespace qiwufuzz
