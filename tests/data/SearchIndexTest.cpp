// The search box's index on a small city: what a typed text finds and in which order, and the
// generated reading table against Unihan's own lines.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "data/CityDatabase.h"
#include "data/search/PinyinTable.h"
#include "data/search/SearchIndex.h"
#include "tests/data/SearchCity.h"

namespace {

const search::SearchIndex& Index() {
  static CityDatabase database;
  static const search::SearchIndex& index = []() -> const search::SearchIndex& {
    Outcome error;
    if (!database.Open(SearchCity::Get().DatabasePath(), error))
      throw std::runtime_error("search city not opened");
    return search::SearchIndex::Of(database);
  }();
  return index;
}

QStringList Found(const QString& text, int limit = search::SearchIndex::kSuggestions) {
  QStringList found;
  for (const search::Entry* e : Index().Find(text, limit)) found << e->kind + ":" + e->Label();
  return found;
}

TEST(SearchIndex, FindsByTextPinyinAndInitialsRankedExactPrefixRest) {
  const struct {
    const char* text;
    QStringList found;
  } cases[] = {
      // Every reading of a polyphone counts: 行 hang, 长 chang, 重 chong.
      {"yinhang", {"金融银行:银行", "金融银行:银行大厦", "金融银行:工商银行"}},
      {"changshou", {"站点:长寿路", "道路:长寿路"}},
      {"chongqing", {"站点:重庆路口", "餐饮娱乐:重庆饭店"}},
      // Initials, full pinyin, their mixes and a reading half typed.
      {"bwcg", {"餐饮娱乐:百味菜馆"}},
      {"baiwcaig", {"餐饮娱乐:百味菜馆"}},
      {"bai wei", {"站点:百味街", "餐饮娱乐:百味菜馆", "餐饮娱乐:百味茶社"}},
      {"bw菜", {"餐饮娱乐:百味菜馆"}},
      // Substring, Latin case ignored; ü as v or u.
      {"菜馆", {"餐饮娱乐:百味菜馆"}},
      {"kfc", {"餐饮娱乐:KFC肯德基"}},
      {"KenDe", {"餐饮娱乐:KFC肯德基"}},
      {"lvdao", {"餐饮娱乐:绿岛咖啡"}},
      {"ludao", {"餐饮娱乐:绿岛咖啡"}},
      // Exact, then prefix, then the rest; in a rank shorter names, then kind.
      {"1lu", {"线路:1路", "线路:11路"}},
      // 绿 lv or lu begins a name; 路 lu ends others. Names of a kind sort by the commonest
      // reading: 人 ren before 长 zhang.
      {"lu",
       {"餐饮娱乐:绿岛咖啡", "线路:1路", "站点:长寿路", "线路:11路", "道路:人民路", "道路:长寿路",
        "站点:重庆路口"}},
      // Other names find their feature, shown with its name; Latin names are typed as they are.
      {"scuola", {"中小学校:Scuola elementare（Volksschule St. Michael）"}},
      {"harbour", {"道路:Old Harbour Road（长寿路）"}},
      {"icbc", {"金融银行:ICBC（工商银行）"}},
      {"volks", {"中小学校:Volksschule St. Michael"}},
      {"ghost", {}},
      {"nothing", {}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Found(QString::fromUtf8(c.text)), c.found) << c.text;
}

TEST(SearchIndex, KeepsTheLimitAndEachKindAndNameOnce) {
  EXPECT_EQ(Found("lu", 2), QStringList({"餐饮娱乐:绿岛咖啡", "线路:1路"}));
  EXPECT_TRUE(Found("lu", 0).isEmpty());
  EXPECT_EQ(Found("银行"), QStringList({"金融银行:银行", "金融银行:银行大厦", "金融银行:工商银行"}));
  ASSERT_NE(Index().Lookup("道路", "长寿路"), nullptr);
  EXPECT_EQ(Index().Lookup("道路", "长寿路")->layer, "主干道");
  EXPECT_EQ(Index().Lookup("站点", "长寿路")->layer, "公交站台");
  EXPECT_EQ(Index().Lookup("线路", "11路")->layer, "公交路线");
}

// An other name's entry leads to the feature by its own name on its layer; looking a name up
// never gives it.
TEST(SearchIndex, AnOtherNameLeadsToTheFeaturesOwnName) {
  for (const char* text : {"Scuola", "Old Harbour"}) {
    const std::vector<const search::Entry*> found = Index().Find(text, 1);
    ASSERT_EQ(found.size(), 1u) << text;
    const search::Entry* own = Index().Lookup(found[0]->kind, found[0]->name);
    ASSERT_NE(own, nullptr) << text;
    EXPECT_TRUE(own->otherName.isEmpty()) << text;
    EXPECT_EQ(found[0]->layer, own->layer) << text;
  }
  EXPECT_EQ(Index().Find("Scuola", 1)[0]->layer, "中小学校");
  EXPECT_EQ(Index().Lookup("中小学校", "Scuola elementare"), nullptr);
}

// A type name is read only when it names a table (the statement in 地物类型 would add the three
// stops again); null, empty and over-long names are left out, and so are other names of features
// a point type's or road's table does not hold.
TEST(SearchIndex, ReadsNothingAHostileCityHidesInItsRows) {
  EXPECT_EQ(Index().Size(), 19u);  // 16 names, 3 other names
  EXPECT_TRUE(Found(QString(101, QChar(u'长'))).isEmpty());
}

TEST(SearchIndex, IsEmptyForADatabaseThatIsNotOpen) {
  search::SearchIndex index;
  index.Build(CityDatabase());
  EXPECT_EQ(index.Size(), 0u);
  EXPECT_TRUE(index.Find("a", 5).empty());
}

// The toneless readings of Unihan's lines, ü as v and u.
QStringList RawReadings(const QString& line) {
  QStringList readings;
  for (const QString& token : line.section(u'\t', 2).split(u' ', Qt::SkipEmptyParts))
    for (QString r : token.section(u':', -1).split(u',')) {
      r = r.normalized(QString::NormalizationForm_D).replace(QStringLiteral("u\u0308"), "v");
      r.remove(QRegularExpression("[^a-z]"));
      readings << r;
      if (r.contains(u'v')) readings << QString(r).replace(u'v', u'u');
    }
  return readings;
}

TEST(PinyinTable, HoldsEveryReadingOfUnihanLinesMandarinFirst) {
  const char* const lines[] = {
      "U+884C\tkHanyuPinyin\t20811.060:háng,xìng,xíng,hàng,héng",
      "U+884C\tkMandarin\txíng",
      "U+957F\tkXHC1983\t0121.040:cháng 1456.020:zhǎng",
      "U+957F\tkMandarin\tzhǎng",
      "U+91CD\tkHanyuPinyin\t63680.020:zhòng,chóng,tóng",
      "U+91CD\tkMandarin\tzhòng",
      "U+7EFF\tkXHC1983\t0740.100:lù 0743.010:lǜ",
      "U+7EFF\tkMandarin\tlǜ",
      "U+5973\tkHanyuPinyin\t21023.230:nǚ,nǜ,rǔ",
      "U+5973\tkMandarin\tnǚ",
  };
  for (const char* raw : lines) {
    const QString line = QString::fromUtf8(raw);
    const char32_t c = line.section(u'\t', 0, 0).mid(2).toUInt(nullptr, 16);
    QStringList table;
    for (const std::string_view r : pinyin::Readings(c))
      table << QString::fromLatin1(r.data(), qsizetype(r.size()));
    const QStringList raws = RawReadings(line);
    for (const QString& r : raws) EXPECT_TRUE(table.contains(r)) << raw << " lacks " << r.toStdString();
    if (line.contains("kMandarin")) {
      EXPECT_EQ(table.value(0), raws.value(0)) << raw;
    }
  }
  EXPECT_TRUE(pinyin::Readings(U'a').empty());
  EXPECT_TRUE(pinyin::Readings(U'，').empty());
}

}  // namespace
