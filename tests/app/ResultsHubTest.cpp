// The result table on the real window: it follows every radius search and every map selection, and the type
// and keyword lists show in it on request, each row with its type.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTableView>
#include <functional>

#include "app/PagePreviewDialog.h"
#include "app/ResultsHub.h"
#include "features/KeywordPanel.h"
#include "features/RadiusPanel.h"
#include "features/ResultModel.h"
#include "features/ResultTable.h"
#include "mapwidgets/MapControl.h"
#include "mapwidgets/modMapFunction.h"
#include "tests/app/WindowFixture.h"
#include "tests/app/WindowParts.h"
#include "tests/support/QtTexts.h"

using apptest::StartedWindow;

namespace {

// The names of the table's rows, in the order shown, and whether every row has a type.
QStringList TableNames(const ResultTable& table, bool* allTyped) {
  const auto& model = *static_cast<const ResultModel*>(table.grid->model());
  QStringList names;
  *allTyped = true;
  for (int row = 0; row < model.rowCount(); ++row) {
    names << model.Row(row).name;
    *allTyped = *allTyped && !model.Row(row).type.isEmpty();
  }
  return names;
}

TEST(ResultsHub, TheTableFollowsEachRadiusSearchAndShowsTheListsOnRequest) {
  StartedWindow started;
  frmMain& w = started.window;
  ResultTable& table = *apptest::Part<ResultsHub>(w)->table;
  bool allTyped = false;
  apptest::Part<RadiusPanel>(w)->txtRadius->setText(QStringLiteral("1500"));
  for (const double shift : {0.0, 800.0}) {
    apptest::Part<RadiusPanel>(w)->RadiusSearch(w.Map1->CenterX() + shift, w.Map1->CenterY(), w.lyrTempPoint);
    ASSERT_GT(apptest::Part<RadiusPanel>(w)->lstShow2->count(), 0);
    QStringList listed = Items(apptest::Part<RadiusPanel>(w)->lstShow2), shown = TableNames(table, &allTyped);
    listed.sort();
    shown.sort();
    EXPECT_EQ(shown, listed);
    EXPECT_EQ(table.lblCount->text(), QStringLiteral("共 %1 条").arg(listed.size()));
  }

  apptest::Part<KeywordPanel>(w)->txtLike->setText(QStringLiteral("路"));
  // Each list's context menu hands its names to the table.
  for (const char* name : {"lstShow1", "lstShow0"}) {
    auto* list = w.findChild<QListWidget*>(QString::fromLatin1(name));
    ASSERT_NE(list, nullptr) << name;
    ASSERT_GT(list->count(), 0) << name;
    ASSERT_EQ(list->actions().size(), 1) << name;
    list->actions().front()->trigger();
    EXPECT_EQ(TableNames(table, &allTyped), Items(list)) << name;
    EXPECT_TRUE(allTyped) << name;
  }
  EXPECT_TRUE(started.messages.Messages().empty());
}

int SelectedCount(const MapControl& map) {
  int selected = 0;
  for (int position = 1; position <= map.LayerCount(); ++position)
    selected += map.LayerAt(position)->Selection().Count();
  return selected;
}

// Whatever the user did last fills the table: a selection on the map (a rectangle, LocateFeature)
// or a list (a radius search counts as one, though it selects its finds too). Showing a row of the
// table on the map keeps the table's rows.
TEST(ResultsHub, TheTableShowsWhatTheUserDidLast) {
  StartedWindow started;
  frmMain& w = started.window;
  ResultsHub& hub = *apptest::Part<ResultsHub>(w);
  ResultTable& table = *hub.table;
  const auto& model = *static_cast<const ResultModel*>(table.grid->model());
  const auto selectRectangle = [&w] {
    w.Map1->UnselectAll();
    for (Layer* layer : w.Map1->SelectableLayers())
      layer->Selection().SelectInRect(w.Map1->Bounds(), kSelectionAdd);
  };
  apptest::Part<RadiusPanel>(w)->txtRadius->setText(QStringLiteral("1500"));
  const struct {
    const char* what;
    std::function<void()> act;
    const char* source;  // the start of the line above the rows
    bool selection;      // the rows are the map's selection
    bool keepsRows = false;
  } steps[] = {
      {"rectangle selection", selectRectangle, "地图选择", true},
      {"radius search",
       [&w] {
         apptest::Part<RadiusPanel>(w)->RadiusSearch(w.Map1->CenterX(), w.Map1->CenterY(), w.lyrTempPoint);
       },
       "半径查询", false},
      {"located feature",
       [&model, &w] { LocateFeature(*w.Map1, model.Row(0).type, QStringLiteral("name"), model.Row(0).name); },
       "地图选择", true},
      {"rectangle again", selectRectangle, "地图选择", true},
      {"table command", [&hub] { hub.tableAction->trigger(); }, "地图选择", true},
      {"a row shown on the map", [&table] { emit table.grid->activated(table.grid->model()->index(0, 0)); },
       "地图选择", false, true},
  };
  for (const auto& step : steps) {
    const int before = model.rowCount();
    step.act();
    EXPECT_TRUE(table.lblSource->text().startsWith(QString::fromUtf8(step.source)))
        << step.what << ": " << table.lblSource->text().toStdString();
    if (step.keepsRows) {
      EXPECT_GT(before, 1);
      EXPECT_EQ(model.rowCount(), before) << step.what;
    }
    if (!step.selection) continue;
    ASSERT_GT(SelectedCount(*w.Map1), 0) << step.what;
    ASSERT_EQ(model.rowCount(), SelectedCount(*w.Map1)) << step.what;
    for (int row = 0; row < model.rowCount(); ++row)
      EXPECT_TRUE(model.Row(row).at && model.Row(row).lonLat) << step.what << " " << row;
  }
  EXPECT_TRUE(table.isVisible());
}

// 打印… and 导出 PDF… open the page preview on the city's page: its name as title, A4 landscape, one
// page previewed; a change of orientation or paper reaches the printer the preview draws on.
TEST(ResultsHub, ThePagePreviewShowsTheCitysPageAndFollowsItsSettings) {
  StartedWindow started;
  frmMain& w = started.window;
  for (const auto purpose : {PagePreviewDialog::Purpose::Print, PagePreviewDialog::Purpose::Pdf}) {
    const auto preview = apptest::Part<ResultsHub>(w)->MakePreview(purpose);
    EXPECT_EQ(preview->txtTitle->text(), QStringLiteral("栖坞市"));
    const mappage::PageSetup setup = preview->Setup();
    EXPECT_EQ(setup.paper, QPageSize::A4);
    EXPECT_EQ(setup.orientation, QPageLayout::Landscape);
    EXPECT_TRUE(setup.source.startsWith(QStringLiteral("数据：栖坞市 数据集")));
    preview->preview->updatePreview();
    EXPECT_EQ(preview->preview->pageCount(), 1);
    preview->cmbOrientation->setCurrentIndex(preview->cmbOrientation->findData(int(QPageLayout::Portrait)));
    preview->cmbPaper->setCurrentIndex(preview->cmbPaper->findData(int(QPageSize::A3)));
    const QPageLayout printed = preview->Printer().pageLayout();
    EXPECT_EQ(printed.orientation(), QPageLayout::Portrait);
    EXPECT_EQ(printed.pageSize().id(), QPageSize::A3);
    EXPECT_EQ(preview->Setup().orientation, QPageLayout::Portrait);
  }
  EXPECT_TRUE(started.messages.Messages().empty());
}

}  // namespace
