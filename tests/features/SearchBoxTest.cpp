// The search box driven by keys and clicks on the search city, its choices shown on a real map
// as the main window shows a panel's.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "data/CityDatabase.h"
#include "features/SearchBox.h"
#include "features/ShowFeature.h"
#include "mapwidgets/MapControl.h"
#include "tests/data/SearchCity.h"
#include "tests/support/MessageRecorder.h"

namespace {

class SearchBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const SearchCity& city = SearchCity::Get();
    Outcome error;
    ASSERT_TRUE(database.Open(city.DatabasePath(), error));
    ASSERT_TRUE(map->LoadWorkspace(city.WorkspacePath()).ok());
    map->resize(600, 400);
    box = NewBox();
    window.show();
  }

  SearchBox* NewBox() {
    auto* b = new SearchBox(&window, database, recentDir.filePath("recent.ini"));
    b->setGeometry(0, 0, 240, 24);
    QObject::connect(b, &SearchBox::FeatureChosen, &window,
                     [this](const QString& layer, const QString& name) { ShowFeature(*map, layer, name); });
    return b;
  }

  void Type(const QString& text) {
    box->setFocus();
    box->clear();
    QTest::keyClicks(box, text);
  }

  QStringList Rows() const {
    QStringList rows;
    if (!box->Suggestions()->isVisible()) return rows;
    for (int i = 0; i < box->Suggestions()->topLevelItemCount(); ++i) {
      const QTreeWidgetItem* item = box->Suggestions()->topLevelItem(i);
      rows << item->text(1) + ":" + item->text(0);
    }
    return rows;
  }

  QStringList Selected() const {
    QStringList selected;
    for (int position = 1; position <= map->LayerCount(); ++position)
      for (int i = 1; i <= map->LayerAt(position)->Selection().Count(); ++i)
        selected << map->LayerAt(position)->Name() + ":" +
                        map->LayerAt(position)->Selection().Item(i).DisplayName();
    return selected;
  }

  MessageRecorder messages;
  CityDatabase database;
  QTemporaryDir recentDir;
  QWidget window;
  MapControl* map = new MapControl(&window);
  SearchBox* box = nullptr;
};

TEST_F(SearchBoxTest, TypingSuggestsAndEnterOrAClickShowsTheChoiceOnTheMap) {
  Type("chongqing");
  EXPECT_EQ(Rows(), QStringList({"站点:重庆路口", "餐饮娱乐:重庆饭店"}));
  QTest::keyClick(box, Qt::Key_Escape);
  EXPECT_TRUE(Rows().isEmpty());

  Type("bwcg");
  EXPECT_EQ(Rows(), QStringList({"餐饮娱乐:百味菜馆"}));
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_TRUE(Rows().isEmpty());
  EXPECT_EQ(box->text(), "百味菜馆");
  EXPECT_EQ(Selected(), QStringList({"餐饮娱乐:百味菜馆"}));
  EXPECT_DOUBLE_EQ(map->CenterX(), SearchCity::kRestaurant.x);
  EXPECT_DOUBLE_EQ(map->CenterY(), SearchCity::kRestaurant.y);

  // Down moves to the second suggestion, the road; a click takes the first, the stop.
  for (const bool click : {false, true}) {
    Type("changshou");
    QTreeWidget* list = box->Suggestions();
    if (click) {
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                        list->visualItemRect(list->topLevelItem(0)).center());
    } else {
      QTest::keyClick(box, Qt::Key_Down);
      QTest::keyClick(box, Qt::Key_Return);
    }
    EXPECT_EQ(Selected(), QStringList({click ? "公交站台:长寿路" : "主干道:长寿路"}));
  }
  // An other name is shown with the feature's name, which the choice shows on the map.
  Type("scuola");
  EXPECT_EQ(Rows(), QStringList({"中小学校:Scuola elementare（Volksschule St. Michael）"}));
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(box->text(), "Volksschule St. Michael");
  EXPECT_EQ(Selected(), QStringList({"中小学校:Volksschule St. Michael"}));
  EXPECT_TRUE(messages.Texts().isEmpty());
}

// The last choices, newest first, on an empty box, in this box and in the next one (the file).
TEST_F(SearchBoxTest, AnEmptyBoxListsTheRecentChoicesTheCityHas) {
  RecentSearches(recentDir.filePath("recent.ini")).Add({"餐饮娱乐", "别城饭店"});
  box = NewBox();
  for (const char* text : {"bwcg", "yinhang"}) {
    Type(text);
    QTest::keyClick(box, Qt::Key_Return);
  }
  for (SearchBox* b : {box, NewBox()}) {
    box = b;
    Type("x");
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(Rows(), QStringList({"金融银行:银行", "餐饮娱乐:百味菜馆"}));
  }
}

}  // namespace
