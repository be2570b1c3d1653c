// The statements each panel event sends to the database: their exact texts, once each.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <functional>

#include "bus/BusPanel.h"
#include "tests/bus/BusPanelFixture.h"
#include "tests/bus/StatementTrace.h"

namespace {

QStringList Selects(const StatementTrace& trace) {
  QStringList selects;
  for (const auto& s : trace.Statements()) {
    if (s.startsWith(QStringLiteral("select"), Qt::CaseInsensitive)) selects << s;
  }
  return selects;
}

TEST(BusPanelStatements, EachEventRunsItsStatementOnce) {
  struct Case {
    const char* what;
    std::function<void(BusPanel&)> before;
    std::function<void(BusPanel&)> action;
    QStringList expected;
  };
  auto none = [](BusPanel&) {};
  auto lineMode = [](BusPanel& p) { p.optLine->setChecked(true); };
  auto stationMode = [](BusPanel& p) { p.optStation->setChecked(true); };
  const Case cases[] = {
      {"line mode selected from code", none, lineMode,
       QStringList{"select Distinct 线路名 , id from 公交信息  order by id"}},
      {"line mode click called at start-up", none, [](BusPanel& p) { p.optLine_Click(); },
       QStringList{"select Distinct 线路名 , id from 公交信息  order by id"}},
      {"station mode", lineMode, stationMode,
       QStringList{"select Distinct 站名 , 站名 from 公交信息  order by 站名"}},
      {"a line typed", lineMode, [](BusPanel& p) { p.cmbBus->setEditText(QStringLiteral("1路")); },
       QStringList{"select  站名 , 顺序 from 公交信息  where 线路名 = '1路'  order by 顺序"}},
      {"a stop typed", stationMode, [](BusPanel& p) { p.cmbBus->setEditText(QStringLiteral("钟楼")); },
       QStringList{"select  线路名 , ID from 公交信息  where 站名 = '钟楼'  order by ID"}},
      {"a stop with an apostrophe", stationMode,
       [](BusPanel& p) { p.cmbBus->setEditText(QStringLiteral("Tony's站")); },
       QStringList{"select  线路名 , ID from 公交信息  where 站名 = 'Tony''s站'  order by ID"}},
      {"part of a stop typed", none, [](BusPanel& p) { p.txtStation[1]->setText(QStringLiteral("东")); },
       QStringList{"select Distinct 站名 , 站名 from 公交信息  where  站名  like '%东%'  order by 站名"}},
      {"part with an apostrophe", none, [](BusPanel& p) { p.txtStation[0]->setText(QStringLiteral("y's")); },
       QStringList{"select Distinct 站名 , 站名 from 公交信息  where  站名  like '%y''s%'  order by 站名"}},
      {"a box emptied", none, [](BusPanel& p) { p.txtStation[0]->clear(); }, QStringList{}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PanelHarness h;
    c.before(*h.panel);
    const StatementTrace trace;
    c.action(*h.panel);
    EXPECT_EQ(Selects(trace), c.expected);
    EXPECT_TRUE(h.messages.Messages().empty());
  }
}

}  // namespace
