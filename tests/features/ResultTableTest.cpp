// The result table: CSV and clipboard text, the rows of a radius search and of the keyword list,
// sorting, copying, and a CSV file read back by Python's csv module.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <cmath>

#include "data/TextCollation.h"
#include "data/modDBAccess.h"
#include "features/CsvText.h"
#include "features/ResultModel.h"
#include "features/ResultTable.h"
#include "tests/features/FixtureCity.h"
#include "tests/features/PanelHarness.h"
#include "tests/support/CliRun.h"
#include "tests/support/QtTexts.h"

namespace {

const ResultModel& Model(const ResultTable& table) {
  return *static_cast<const ResultModel*>(table.grid->model());
}

const ResultRow* Find(const ResultModel& model, const QString& name) {
  for (int row = 0; row < model.rowCount(); ++row)
    if (model.Row(row).name == name) return &model.Row(row);
  return nullptr;
}

TEST(CsvText, FieldsAreQuotedAndFormulasDefused) {
  const struct {
    QString cell, field;
  } cases[] = {
      {"plain", "plain"},
      {"", ""},
      {"栖坞 中文", "栖坞 中文"},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"two\r\nlines", "\"two\r\nlines\""},
      {"a=b", "a=b"},
      {"=SUM(A1:A9)", "'=SUM(A1:A9)"},
      {"+86 571", "'+86 571"},
      {"-1", "'-1"},
      {"@cmd", "'@cmd"},
      {"\t=1", "'\t=1"},
      {"\r=1", "\"'\r=1\""},
      {"=a,\"b\"", "\"'=a,\"\"b\"\"\""},
  };
  for (const auto& c : cases) EXPECT_EQ(csv::Field(c.cell), c.field) << c.cell.toStdString();
}

TEST(CsvText, DocumentHasAByteOrderMarkAndCrLfRecords) {
  EXPECT_EQ(csv::Document({{"名称", "电话"}, {"=x"}}),
            QByteArray("\xEF\xBB\xBF") + QStringLiteral("名称,电话\r\n'=x\r\n").toUtf8());
}

TEST(CsvText, TabTextKeepsItsColumns) {
  EXPECT_EQ(csv::TabText({{"a\tb", "c\r\nd", "-e"}, {"f"}}), QStringLiteral("a b\tc  d\t'-e\nf\n"));
}

// The radius search's rows in a table, as the main window shows them.
struct RadiusTable {
  PanelHarness h;
  ResultTable table{h.window.get()};

  explicit RadiusTable(const QString& radius) {
    QObject::connect(
        h.radius, &RadiusPanel::ResultsReady, h.window.get(),
        [this](const QString& title, const std::vector<ResultRow>& rows) { table.ShowRows(title, rows); });
    PanelHarness::Choose(h.radius->cmbType1, QStringLiteral("餐饮娱乐"));
    h.radius->txtRadius->setText(radius);
    h.radius->RadiusSearch(fixture::kCx, fixture::kCy, h.lyrTempPoint);
  }
};

// Whether a restaurant of that name lies metres from the centre (measured here; names have twins).
bool IsDistanceOf(const QString& name, double metres) {
  for (const fixture::NamedPoint& p : fixture::Restaurants())
    if (p.name == name && std::abs(std::hypot(p.at.x - fixture::kCx, p.at.y - fixture::kCy) - metres) < 1e-6)
      return true;
  return false;
}

TEST(ResultTable, RadiusRowsCarryDistancesAndTheCardsAddressAndPhone) {
  RadiusTable t(QStringLiteral("4500"));  // beyond 1000 m, where text order and number order differ
  const ResultModel& model = Model(t.table);
  ASSERT_EQ(model.rowCount(), t.h.radius->lstShow2->count());
  EXPECT_EQ(t.table.lblCount->text(), QStringLiteral("共 %1 条").arg(model.rowCount()));
  for (int row = 0; row < model.rowCount(); ++row) {
    const ResultRow& r = model.Row(row);
    ASSERT_TRUE(r.distance);
    EXPECT_TRUE(IsDistanceOf(r.name, *r.distance)) << r.name.toStdString() << " " << *r.distance;
    if (row > 0) {
      EXPECT_LE(*model.Row(row - 1).distance, *r.distance);
    }
  }
  for (const fixture::Card& card : fixture::kCards) {
    const ResultRow* row = Find(model, QString::fromUtf8(card.name));
    ASSERT_TRUE(row) << card.name;
    EXPECT_EQ(row->address, QString::fromUtf8(card.address));
    EXPECT_EQ(row->phone, QString::fromUtf8(card.tel));
  }
}

TEST(ResultTable, SortsEveryColumnBothWays) {
  RadiusTable t(QStringLiteral("4500"));
  const ResultModel& model = Model(t.table);
  for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
    t.table.grid->sortByColumn(ResultModel::kDistance, order);
    for (int row = 1; row < model.rowCount(); ++row) {
      const double before = *model.Row(row - 1).distance, after = *model.Row(row).distance;
      EXPECT_TRUE(order == Qt::AscendingOrder ? before <= after : before >= after) << before << " " << after;
    }
    t.table.grid->sortByColumn(ResultModel::kName, order);
    for (int row = 1; row < model.rowCount(); ++row) {
      const int compared =
          CompareText(model.Row(row - 1).name.toStdString(), model.Row(row).name.toStdString());
      EXPECT_TRUE(order == Qt::AscendingOrder ? compared <= 0 : compared >= 0);
    }
  }
}

TEST(ResultTable, KeywordRowsTakeTheFirstKeywordTableHoldingTheName) {
  PanelHarness h;  // opens the fixture database
  const struct {
    QString name, type, address;
  } cases[] = {
      {"O'Neil 酒吧", "餐饮娱乐", QString::fromUtf8(fixture::kCards[1].address)},
      {"同名楼", "大中专院校", ""},  // also a bank; colleges come first
      {"栖霞古寺", "旅游景点", ""},
      {"无此名", "", ""},
  };
  QStringList names;
  for (const auto& c : cases) names << c.name;
  const std::vector<ResultRow> rows = RowsOfKeywordNames(*modDBAccess::cnnCity, names);
  ASSERT_EQ(rows.size(), std::size(cases));
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].name, cases[i].name);
    EXPECT_EQ(rows[i].type, cases[i].type) << cases[i].name.toStdString();
    EXPECT_EQ(rows[i].address, cases[i].address) << cases[i].name.toStdString();
    EXPECT_FALSE(rows[i].distance);
  }
}

std::vector<ResultRow> HostileRows() {
  return {{"=HYPERLINK(\"http://x\")", "餐饮娱乐", 1234.6, "西河街,\"27\"号\r\n二楼", "+86 571",
           "name：=x；tel：+1", std::nullopt, std::nullopt},
          {"湖畔酒家", "餐饮娱乐", 12.4, "湖滨路1号", "-", "", MapPoint{500000.004, 3400000.5},
           MapPoint{120.1234564, 30.5}},
          {"@SUM(1)", "餐饮娱乐", 4200, "", "0571\t1", "", std::nullopt, std::nullopt}};
}

TEST(ResultTable, CopiesTheSelectedRowsUnderTheHeader) {
  QWidget owner;
  ResultTable table(&owner);
  table.ShowRows(QStringLiteral("测试"), HostileRows());
  EXPECT_TRUE(table.SelectedText().isEmpty());
  // Shown nearest first: 湖畔酒家, the hyperlink, @SUM.
  table.grid->selectRow(2);
  table.grid->selectionModel()->select(table.grid->model()->index(0, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
  EXPECT_EQ(
      table.SelectedText(),
      QStringLiteral("名称\t类型\t距离(米)\t地址\t电话\t属性\tX\tY\t经度\t纬度\n"
                     "湖畔酒家\t餐饮娱乐\t12\t湖滨路1号\t'-\t\t500000.00\t3400000.50\t120.123456\t30.500000\n"
                     "'@SUM(1)\t餐饮娱乐\t4200\t\t0571 1\t\t\t\t\t\n"));
  table.copyAction->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), table.SelectedText());
}

TEST(ResultTable, CsvExportReadsBackInPythonsCsvModule) {
  const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
  if (python.isEmpty()) GTEST_SKIP() << "python3 is not installed";
  QWidget owner;
  ResultTable table(&owner);
  table.ShowRows(QStringLiteral("测试"), HostileRows());
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("结果.csv"));
  QString error;
  ASSERT_TRUE(table.ExportCsv(path, error)) << error.toStdString();

  const CliRun read =
      RunProgram(python, {QStringLiteral("-c"),
                          QStringLiteral("import csv, json, sys\n"
                                         "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                                         "    print(json.dumps(list(csv.reader(f, strict=True))))"),
                          path});
  ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
  QJsonArray expected{QJsonArray::fromStringList(ResultHeader())};
  for (int row = 0; row < table.grid->model()->rowCount(); ++row) {
    QStringList cells;
    for (const QString& cell : ResultCells(Model(table).Row(row))) cells << csv::GuardFormula(cell);
    expected.append(QJsonArray::fromStringList(cells));
  }
  EXPECT_EQ(QJsonDocument::fromJson(read.out).array(), expected) << read.out.toStdString();
}

}  // namespace
