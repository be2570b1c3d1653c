// The program's like() gives what SQLite's own like() gives, for every pattern shape.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "data/LikePattern.h"

namespace {

// SQLite's built-in like on a plain connection: the reference.
class BuiltinLike {
 public:
  BuiltinLike() { sqlite3_open(":memory:", &db_); }
  ~BuiltinLike() { sqlite3_close(db_); }
  int Evaluate(const std::string& text, const std::string& pattern, const char* escape) const {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db_, escape ? "select ?1 like ?2 escape ?3" : "select ?1 like ?2", -1, &statement,
                       nullptr);
    sqlite3_bind_text(statement, 1, text.data(), int(text.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(statement, 2, pattern.data(), int(pattern.size()), SQLITE_TRANSIENT);
    if (escape) sqlite3_bind_text(statement, 3, escape, -1, SQLITE_TRANSIENT);
    const int result = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int(statement, 0) : -1;
    sqlite3_finalize(statement);
    return result;
  }

 private:
  sqlite3* db_ = nullptr;
};

TEST(LikePattern, AgreesWithSqlitesLike) {
  const char* texts[] = {"",
                         "a",
                         "A",
                         "abc",
                         "ABC",
                         "aXc",
                         "北门",
                         "北门医院",
                         "老张面馆",
                         "Tony's 西餐厅",
                         "五折%优惠店",
                         "五折优惠店",
                         "A_B路",
                         "AXB路",
                         "a\\b",
                         "中山路中山路",
                         "aaa",
                         "ab",
                         "北京北门",
                         "门",
                         "%",
                         "_",
                         "Ab北c",
                         "é"};
  const char* patterns[] = {
      "",        "%",     "%%",    "_",        "__",      "a",     "A%",  "%C",    "%b%",     "a_c",
      "%门%",    "北_",   "北%",   "%门",      "_门",     "%门_%", "a%c", "%a%a%", "a%a%a",   "%%a%",
      "%北%门%", "%\\%%", "%\\_%", "%a\\\\b%", "%折\\%%", "%x\\",  "___", "_%_",   "%中山路", "中山路%中山路",
      "tony%",   "%é%"};
  BuiltinLike builtin;
  for (const char* escape : {static_cast<const char*>(nullptr), "\\"}) {
    for (const char* pattern : patterns) {
      const LikePattern compiled(pattern, escape ? std::optional<std::string_view>(escape) : std::nullopt);
      for (const char* text : texts) {
        EXPECT_EQ(int(compiled.Matches(text)), builtin.Evaluate(text, pattern, escape))
            << "'" << text << "' like '" << pattern << "'" << (escape ? " escape '\\'" : "");
      }
    }
  }
}

}  // namespace
