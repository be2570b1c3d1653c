#pragma once
// A small city for the bus panel's and the plan window's tests: a bus table opened as the city
// database, a map workspace with the layers 公交路线 and 公交站台 (every stop and line of the table
// at known coordinates, EPSG:32650), and a window holding the panel's container, a real MapControl
// and the panel itself. Message boxes are recorded.
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <map>
#include <memory>
#include <vector>

#include "tests/bus/BusNetworkFixture.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/QtTexts.h"

class BusPanel;
class MapControl;

// The lines of the fixture in route order. 1路: 8 stops, the 7th 钟楼; 2路 meets 1路 at 钟楼;
// 3路 runs Tony's站 - 东门 - 学府; 环城线 has 105 stops 环站1 .. 环站105. 旧线 is in the table
// but not on the map.
struct FixtureLine {
  QString name;
  QStringList stops;
};
const std::vector<FixtureLine>& FixtureLines();
// Map coordinates (metres) of every stop of the fixture except those of 旧线.
const std::map<QString, QPointF>& FixtureStopPositions();

// The bus table of FixtureLines and the workspace of its map, in a temporary folder.
class BusCity {
 public:
  BusCity();
  bool OpenDatabase() const { return database_->Open(); }
  QString WorkspacePath() const { return dir_.filePath(QStringLiteral("city.gst")); }

 private:
  QTemporaryDir dir_;
  std::unique_ptr<BusDatabase> database_;
};

// The main window stand-in: a container picShow(4) and Map1 side by side, the panel built in the
// container, the database open and the workspace loaded. Shown and active, so focus moves.
class PanelHarness {
 public:
  PanelHarness();
  ~PanelHarness();
  // Writes both station names and clicks the search button.
  void Search(const QString& departure, const QString& destination);

  BusCity city;
  MessageRecorder messages;
  QWidget window;
  QWidget* picShow4;
  MapControl* map;
  BusPanel* panel;
};
