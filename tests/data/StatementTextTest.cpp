// The statement texts the query builders send, character for character.
#include <gtest/gtest.h>

#include "data/modGetRecord.h"

using namespace modGetRecord;

namespace {

struct FillListCase {
  const char* caller;
  QString table, field, condition, order;
  bool distinct;
  QString statement;
};

TEST(StatementText, FillListForEveryCaller) {
  const QString L = QStringLiteral("1路");
  const QString S = QStringLiteral("南门");
  const QString P = QStringLiteral("门");
  const QString T = QStringLiteral("餐饮娱乐");
  const FillListCase cases[] = {
      {"type selector", "地物类型", "typeName", "", "typeName", true,
       "select Distinct typeName , typeName from 地物类型  order by typeName"},
      {"line names", "公交信息", "线路名", "", "id", true,
       "select Distinct 线路名 , id from 公交信息  order by id"},
      {"point type selectors", "地物类型", "typeName", " where type  = \"点\" ", "typeName", true,
       "select Distinct typeName , typeName from 地物类型  where type  = \"点\"  order by typeName"},
      {"stop names", "公交信息", "站名", "", "站名", true,
       "select Distinct 站名 , 站名 from 公交信息  order by 站名"},
      {"stops of a line", "公交信息", "站名", " where 线路名 = '" + SqlText(L) + "' ", "顺序", false,
       "select  站名 , 顺序 from 公交信息  where 线路名 = '1路'  order by 顺序"},
      {"lines through a stop", "公交信息", "线路名", " where 站名 = '" + SqlText(S) + "' ", "ID", false,
       "select  线路名 , ID from 公交信息  where 站名 = '南门'  order by ID"},
      {"station suggestions", "公交信息", "站名", " where  站名  like '%" + SqlText(P) + "%' ", "站名", true,
       "select Distinct 站名 , 站名 from 公交信息  where  站名  like '%门%'  order by 站名"},
      {"type browse", T, "name", "", "name", true,
       "select Distinct name , name from 餐饮娱乐  order by name"},
      {"no order", "公交信息", "站名", "", "", false, "select  站名 from 公交信息 "},
  };
  for (const FillListCase& c : cases) {
    EXPECT_EQ(FillListStatement(c.table, c.field, c.condition, c.order, c.distinct), c.statement) << c.caller;
  }
}

TEST(StatementText, FieldValueForEveryCaller) {
  for (const char* field : {"linkman", "tel", "address", "web"}) {
    const QString f = QString::fromLatin1(field);
    EXPECT_EQ(FieldValueStatement("餐饮娱乐", f, " where name  = '" + SqlText("老张面馆") + "'"),
              "select " + f + " from 餐饮娱乐 where name  = '老张面馆'");
  }
  EXPECT_EQ(FieldValueStatement("公交信息", "顺序", " where 站名='南门' and 线路名='1路'"),
            "select 顺序 from 公交信息 where 站名='南门' and 线路名='1路'");
}

TEST(StatementText, KeywordUnionOfTheEightTables) {
  EXPECT_EQ(
      KeywordStatement("name", "K"),
      "select name from 大中专院校 where name like '%K%'  union select name from 餐饮娱乐 where name "
      "like '%K%'  union select name from 旅游景点 where name like '%K%'  union select name from 医院诊所 "
      "where name like '%K%'  union select name from 金融银行 where name like '%K%'  union select name "
      "from 主干道 where name like '%K%'  union select name from 次干道 where name like '%K%'  union "
      "select name from 支路 where name like '%K%'  order by name");
}

TEST(StatementText, QuotesAndWildcardsInValues) {
  EXPECT_EQ(SqlText("Tony's"), "Tony''s");
  EXPECT_EQ(SqlText("''"), "''''");
  EXPECT_EQ(SqlText("中山路"), "中山路");

  struct {
    QString keyword, part;
  } const cases[] = {
      {"Tony's", "select name from 大中专院校 where name like '%Tony''s%'  union "},
      {"50%", "select name from 大中专院校 where name like '%50\\%%' escape '\\'  union "},
      {"A_B", "select name from 大中专院校 where name like '%A\\_B%' escape '\\'  union "},
      {"a\\b_", "select name from 大中专院校 where name like '%a\\\\b\\_%' escape '\\'  union "},
      {"a\\b", "select name from 大中专院校 where name like '%a\\b%'  union "},
  };
  for (const auto& c : cases) {
    const QString statement = KeywordStatement("name", c.keyword);
    EXPECT_TRUE(statement.startsWith(c.part)) << statement.toStdString();
    EXPECT_EQ(statement.count(" union "), 7);
  }
}

}  // namespace
