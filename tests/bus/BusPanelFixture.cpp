#include "tests/bus/BusPanelFixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <stdexcept>

#include "bus/BusPanel.h"
#include "data/modDBAccess.h"
#include "features/ShowFeature.h"
#include "kit/Twips.h"
#include "mapwidgets/MapControl.h"
#include "tests/support/TestCity.h"

namespace {
QStringList Numbered(const QString& prefix, int count) {
  QStringList names;
  for (int i = 1; i <= count; ++i) names << prefix + QString::number(i);
  return names;
}
}  // namespace

const std::vector<FixtureLine>& FixtureLines() {
  static const std::vector<FixtureLine> lines = {
      {QStringLiteral("1路"),
       {QStringLiteral("东门"), QStringLiteral("西街"), QStringLiteral("北桥"), QStringLiteral("南湖"),
        QStringLiteral("花园"), QStringLiteral("老街"), QStringLiteral("钟楼"), QStringLiteral("码头")}},
      {QStringLiteral("2路"),
       {QStringLiteral("学府"), QStringLiteral("新村"), QStringLiteral("钟楼"), QStringLiteral("体育馆"),
        QStringLiteral("火车站")}},
      {QStringLiteral("3路"), {QStringLiteral("Tony's站"), QStringLiteral("东门"), QStringLiteral("学府")}},
      {QStringLiteral("环城线"), Numbered(QStringLiteral("环站"), 105)},
      {QStringLiteral("旧线"), {QStringLiteral("废站甲"), QStringLiteral("废站乙")}},
  };
  return lines;
}

const std::map<QString, QPointF>& FixtureStopPositions() {
  static const std::map<QString, QPointF> positions = [] {
    std::map<QString, QPointF> p;
    const auto& lines = FixtureLines();
    for (int i = 0; i < lines[0].stops.size(); ++i) p[lines[0].stops[i]] = {500000.0 + 400 * i, 3400000};
    for (int i = 0; i < lines[1].stops.size(); ++i) p[lines[1].stops[i]] = {502400, 3399200.0 + 400 * i};
    p[QStringLiteral("Tony's站")] = {499600, 3399600};
    for (int i = 0; i < lines[3].stops.size(); ++i) p[lines[3].stops[i]] = {498000.0 + 50 * i, 3402000};
    return p;
  }();
  return positions;
}

BusCity::BusCity() {
  std::vector<BusRow> rows;
  qint64 id = 1;
  for (const auto& line : FixtureLines()) {
    for (int i = 0; i < line.stops.size(); ++i) rows.push_back({line.name, line.stops[i], i + 1, id});
    ++id;
  }
  database_ = std::make_unique<BusDatabase>(rows);

  const auto& positions = FixtureStopPositions();
  testcity::Layer stops{QStringLiteral("公交站台"), {}, 32650};
  for (const auto& [name, p] : positions) stops.features.append({name, testcity::PointWkt(p.x(), p.y())});
  testcity::Layer lines{QStringLiteral("公交路线"), {}, 32650};
  for (const auto& line : FixtureLines()) {
    std::vector<testcity::XY> path;
    for (const auto& stop : line.stops) {
      if (positions.count(stop)) path.push_back({positions.at(stop).x(), positions.at(stop).y()});
    }
    if (path.size() > 1) lines.features.append({line.name, testcity::LineWkt(path)});
  }
  testcity::WriteLayers(dir_.filePath(QStringLiteral("city.gpkg")), {lines, stops});
  testcity::WriteWorkspace(
      WorkspacePath(), QStringLiteral("city.gpkg"), {lines.name, stops.name},
      {QStringLiteral("EPSG:32650"), QStringLiteral("501000,3400500"), QStringLiteral("6000")});
}

PanelHarness::PanelHarness() {
  if (!city.OpenDatabase()) throw std::runtime_error("the test database did not open");
  picShow4 = new QWidget(&window);
  qiwu::SetTwipsGeometry(picShow4, 0, 0, 2400, 4500);
  map = new MapControl(&window);
  map->setGeometry(qiwu::TwipsToPixels(2400, picShow4), 0, 640, 480);
  const Outcome loaded = map->LoadWorkspace(city.WorkspacePath());
  if (!loaded.ok()) throw std::runtime_error(loaded.description.toStdString());
  panel = new BusPanel(picShow4, *map, *modDBAccess::cnnCity);  // the test program's, now open
  // As the main window shows what the panel chose.
  QObject::connect(panel, &BusPanel::FeatureChosen, &window,
                   [this](const QString& layer, const QString& name) { ShowFeature(*map, layer, name); });
  window.resize(map->geometry().right() + 1, std::max(map->height(), picShow4->height()));
  window.show();
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window))
    throw std::runtime_error("the test window did not become active");
}

PanelHarness::~PanelHarness() = default;

void PanelHarness::Search(const QString& departure, const QString& destination) {
  panel->txtStation[0]->setText(departure);
  panel->txtStation[1]->setText(destination);
  QTest::mouseClick(panel->cmdOk, Qt::LeftButton);
}
