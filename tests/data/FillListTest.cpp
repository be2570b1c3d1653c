// FillList, FillListByKeyword and GetFieldValue on the small city.
#include <gtest/gtest.h>

#include "data/modDBAccess.h"
#include "data/modGetRecord.h"
#include "tests/data/CityFixture.h"

using namespace modGetRecord;

namespace {

using Builders = SmallCityTest;

TEST_F(Builders, FillListGivesTheCallersTheirLists) {
  const struct {
    const char* caller;
    QString table, field, condition, order;
    bool distinct, numbered;
    QStringList items;
  } cases[] = {
      {"all types, each once, by pinyin", "地物类型", "typeName", "", "typeName", true, false,
       QStringList{"餐饮娱乐", "大中专院校", "医院诊所", "支路", "主干道"}},
      {"point types", "地物类型", "typeName", " where type  = \"点\" ", "typeName", true, false,
       QStringList{"餐饮娱乐", "大中专院校", "医院诊所"}},
      {"lines by id", "公交信息", "线路名", "", "id", true, false, QStringList{"K1路", "1路", "2路"}},
      {"stops of a line, numbered in route order", "公交信息", "站名", " where 线路名 = '1路' ", "顺序",
       false, true, QStringList{"01 南门", "02 西市", "03 北门"}},
      {"a line typed in other case", "公交信息", "站名", " where 线路名 = 'k1路' ", "顺序", false, true,
       QStringList{"01 东站"}},
      {"lines through a stop", "公交信息", "线路名", " where 站名 = '北门' ", "ID", false, false,
       QStringList{"1路", "2路"}},
      {"station suggestions", "公交信息", "站名", " where  站名  like '%门%' ", "站名", true, false,
       QStringList{"北门", "南门"}},
      {"unknown line", "公交信息", "站名", " where 线路名 = '9路' ", "顺序", false, true, QStringList{}},
  };
  for (const auto& c : cases) {
    RecordingList list;
    list.items = QStringList{"old"};
    FillList(c.table, c.field, list, c.condition, c.order, c.distinct, c.numbered);
    EXPECT_EQ(list.items, c.items) << c.caller;
    EXPECT_EQ(list.calls.value(0), "clear") << c.caller;
  }
  EXPECT_TRUE(recorder.Messages().empty());
}

TEST_F(Builders, AFailedStatementLeavesTheListAsItWasAfterTwoBoxes) {
  RecordingList list;
  list.items = QStringList{"old"};
  FillList("无此表", "name", list, "", "name", true, false);
  FillListByKeyword("name", "Tony's", list);  // the quote is doubled, so this one succeeds
  EXPECT_EQ(list.items, QStringList({"Tony's 西餐厅"}));
  EXPECT_EQ(list.calls, QStringList({"clear", "add"}));
  ASSERT_EQ(recorder.Messages().size(), 2u);
  EXPECT_EQ(recorder.Messages()[0].title, "打开数据库错误");
  EXPECT_EQ(recorder.Messages()[1].text, "运行时错误...");
  EXPECT_EQ(recorder.Messages()[1].title, "运行错误");
  EXPECT_EQ(recorder.Messages()[1].icon, qiwu::MsgIcon::Critical);
}

TEST_F(Builders, RowsThatCannotBecomeItemsAreSkipped) {
  // A null plain item is skipped; a numbered one is the number and the blank.
  RecordingList plain, numbered;
  FillList("餐饮娱乐", "linkman", plain, "", "", false, false);
  FillList("餐饮娱乐", "linkman", numbered, "", "", false, true);
  EXPECT_EQ(plain.items, QStringList({"托尼", "王五"}));
  EXPECT_EQ(numbered.items, QStringList({"01 托尼", "02 ", "03 王五", "04 ", "05 "}));
  EXPECT_TRUE(recorder.Messages().empty());
}

// A list whose change handler runs a query of its own while being cleared, as a combo box
// bound to another list does.
class QueryingList : public RecordingList {
 public:
  void Clear() override {
    RecordingList::Clear();
    modDBAccess::ExecuteQuery("select name from 餐饮娱乐 where name = 'none'");
  }
};

TEST_F(Builders, AHandlerQueryingDuringTheFillLosesNoRows) {
  RecordingList expected;
  QueryingList list;
  FillList("餐饮娱乐", "linkman", expected, "", "", false, true);
  FillList("餐饮娱乐", "linkman", list, "", "", false, true);
  EXPECT_EQ(list.items, expected.items);
  EXPECT_FALSE(list.items.isEmpty());
}

TEST_F(Builders, NumbersGrowPast99) {
  QTemporaryDir longLine;
  QStringList statements{"CREATE TABLE 公交信息 (线路名 TEXT, 站名 TEXT, 顺序 INTEGER, ID INTEGER)"};
  for (int i = 120; i >= 1; --i) {
    statements << QStringLiteral("INSERT INTO 公交信息 VALUES ('环线', '站%1', %1, 1)").arg(i);
  }
  testcity::WriteSql(longLine.filePath("环线.mdb"), statements);
  ASSERT_TRUE(modDBAccess::OpenConnection(longLine.filePath("环线.mdb")));
  RecordingList list;
  FillList("公交信息", "站名", list, " where 线路名 = '环线' ", "顺序", false, true);
  ASSERT_EQ(list.items.size(), 120);
  EXPECT_EQ(list.items[0], "01 站1");
  EXPECT_EQ(list.items[8], "09 站9");
  EXPECT_EQ(list.items[98], "99 站99");
  EXPECT_EQ(list.items[99], "100 站100");
  EXPECT_EQ(list.items[119], "120 站120");
}

TEST_F(Builders, KeywordSearchOverTheEightTables) {
  const struct {
    QString keyword;
    QStringList names;
  } cases[] = {
      {"老张", {"老张面馆"}},  // a restaurant and a road of the same name: listed once
      {"门", {"北门", "北门医院", "东门巷", "南门巷"}},  // by pinyin, not by code point
      {"PIZZA", {"pizza 小屋", "pizza 诊所"}},           // PIZZA 小屋 and pizza 小屋 are one name
      {"tony's", {"Tony's 西餐厅"}},
      {"折%", {"五折%优惠店"}},
      {"A_B", {"A_B路"}},
      {"%", {"五折%优惠店"}},
      {"无此名", {}},
  };
  for (const auto& c : cases) {
    RecordingList list;
    FillListByKeyword("name", c.keyword, list);
    EXPECT_EQ(list.items, c.names) << c.keyword.toStdString();
  }
  EXPECT_TRUE(recorder.Messages().empty());
}

TEST_F(Builders, GetFieldValueReadsOneField) {
  const struct {
    QString table, field, condition, value;
  } cases[] = {
      {"餐饮娱乐", "linkman", " where name  = '" + SqlText("Tony's 西餐厅") + "'", "托尼"},
      {"餐饮娱乐", "web", " where name  = 'tony''s 西餐厅'", "http://tony.example"},
      {"餐饮娱乐", "linkman", " where name  = '老张面馆'", ""},  // null
      {"餐饮娱乐", "tel", " where name  = '无此店'", ""},        // no row
      {"公交信息", "顺序", " where 站名='西市' and 线路名='1路'", "2"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetFieldValue(c.table, c.field, c.condition), c.value) << c.condition.toStdString();
  }
  EXPECT_TRUE(recorder.Messages().empty());
  EXPECT_EQ(GetFieldValue("无此表", "name", ""), "");
  EXPECT_EQ(recorder.Texts().size(), 2);
}

}  // namespace
