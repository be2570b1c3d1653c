// ExecuteQuery and the result set, on the small city: the engine behaves as the program needs.
#include <gtest/gtest.h>

#include "data/modDBAccess.h"
#include "tests/data/CityFixture.h"

using modDBAccess::ExecuteQuery;
using modDBAccess::rsResult;

namespace {

// The values of the first column of every row of the current result, as texts ("<null>").
QStringList Column(const QString& sql) {
  EXPECT_TRUE(ExecuteQuery(sql)) << sql.toStdString();
  QStringList values;
  if (!rsResult()) return values;
  for (const auto& row : rsResult()->Rows()) values << (row[0].isNull() ? "<null>" : row[0].toString());
  return values;
}

using Query = SmallCityTest;

TEST_F(Query, RowsComeBackAsTheStatementAsks) {
  const struct {
    const char* what;
    QString sql;
    QStringList rows;
  } cases[] = {
      {"stored order without order by", "select 站名 from 公交信息",
       QStringList{"北门", "南门", "南门", "西市", "北门", "东站"}},
      {"stored order with where", "select 线路名 from 公交信息 where 站名 = '南门'",
       QStringList{"2路", "1路"}},
      {"distinct keeps the first occurrence's order", "select distinct 站名 from 公交信息",
       QStringList{"北门", "南门", "西市", "东站"}},
      {"Latin case ignored by =", "select 线路名 from 公交信息 where 线路名 = 'k1路'", QStringList{"K1路"}},
      {"Latin case ignored by like", "select name from 医院诊所 where name like '%PIZZA%'",
       QStringList{"pizza 诊所", "pizza 小屋"}},
      // "PIZZA 小屋" and "pizza 小屋" are one name; the union keeps one spelling of it.
      {"Latin case ignored by union",
       "select distinct name from 餐饮娱乐 where name like 'pizza%' union "
       "select name from 医院诊所 where name like 'pizza%'",
       QStringList{"pizza 小屋", "pizza 诊所"}},
      {"double-quoted literal", "select typeName from 地物类型 where type  = \"点\" order by typeName",
       QStringList{"餐饮娱乐", "大中专院校", "医院诊所", "医院诊所"}},
      {"pinyin order, Han before Latin", "select name from 旅游景点 order by name",
       QStringList{"阿房宫", "八达岭", "北门", "长城", "apple园", "Zoo"}},
      {"numbers order as numbers", "select 顺序 from 公交信息 where 线路名 = '1路' order by 顺序 desc",
       QStringList{"3", "2", "1"}},
      {"field names without Latin case", "select NAME from 主干道 where Name = 'axb路'",
       QStringList{"AXB路"}},
      {"no row", "select name from 主干道 where name = '无此路'", QStringList{}},
  };
  for (const auto& c : cases) EXPECT_EQ(Column(c.sql), c.rows) << c.what;
  EXPECT_TRUE(recorder.Messages().empty());
}

TEST_F(Query, ANewResultReplacesTheOld) {
  ASSERT_TRUE(ExecuteQuery("select name from 主干道"));
  ASSERT_EQ(rsResult()->Rows().size(), 4u);
  ASSERT_TRUE(ExecuteQuery("select typeName from 地物类型 where typeName = '支路'"));
  EXPECT_EQ(rsResult()->Rows().size(), 1u);
  EXPECT_EQ(rsResult()->Field("typeName")->toString(), "支路");
  EXPECT_FALSE(rsResult()->Field("name"));

  EXPECT_FALSE(ExecuteQuery("select nosuchcolumn from 主干道"));
  EXPECT_FALSE(rsResult());
  ASSERT_EQ(recorder.Messages().size(), 1u);
  EXPECT_EQ(recorder.Messages()[0].text, "错误描述：no such column: nosuchcolumn\r\n错误代码：-2147217900");
  EXPECT_EQ(recorder.Messages()[0].title, "打开数据库错误");
  EXPECT_EQ(recorder.Messages()[0].icon, qiwu::MsgIcon::Critical);
}

TEST_F(Query, RejectedStatementsAreReported) {
  for (const QString sql :
       {"select name from 无此表", "select name from 餐饮娱乐 where name = 'Tony's'", "", "  "}) {
    recorder.Clear();
    EXPECT_FALSE(ExecuteQuery(sql)) << sql.toStdString();
    ASSERT_EQ(recorder.Messages().size(), 1u);
    EXPECT_TRUE(recorder.Messages()[0].text.startsWith("错误描述：")) << sql.toStdString();
    EXPECT_FALSE(rsResult());
  }
}

TEST_F(Query, TheResultSetIsReadRowByRow) {
  ASSERT_TRUE(
      ExecuteQuery("select name, linkman, tel from 餐饮娱乐 where name like '%面馆%' or name like 'Tony%'"));
  ResultSet& rows = *rsResult();
  EXPECT_FALSE(rows.AtStart());
  EXPECT_FALSE(rows.AtEnd());
  EXPECT_EQ(rows.Field("NAME")->toString(), "Tony's 西餐厅");
  rows.MoveNext();
  EXPECT_TRUE(rows.Field("linkman").has_value());
  EXPECT_TRUE(rows.Field("linkman")->isNull());
  EXPECT_EQ(rows.Field("Tel")->toString(), "0571-5678");
  rows.MoveNext();
  EXPECT_TRUE(rows.AtEnd());
  EXPECT_FALSE(rows.Field("name"));
  rows.MoveNext();
  EXPECT_TRUE(rows.AtEnd());
  rows.MoveFirst();
  EXPECT_EQ(rows.Field("name")->toString(), "Tony's 西餐厅");

  ASSERT_TRUE(ExecuteQuery("select name from 主干道 where 1 = 0"));
  EXPECT_TRUE(rsResult()->AtEnd());
  EXPECT_TRUE(rsResult()->AtStart());
}

TEST_F(Query, TheFirstColumnOfANameIsTheOneRead) {
  ASSERT_TRUE(ExecuteQuery("select Distinct 线路名 , 线路名 , id from 公交信息  order by id"));
  EXPECT_EQ(rsResult()->Columns(), QStringList({"线路名", "线路名", "ID"}));
  EXPECT_EQ(rsResult()->Field("线路名")->toString(), "K1路");
  EXPECT_EQ(rsResult()->Field("Id")->toInt(), 5);
}

}  // namespace
