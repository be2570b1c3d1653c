#pragma once
// The demo city as the trip planner's tests read it: the database, the main workspace, its
// streets, and the trip index both without streets (straight walks) and walking on them. Once.
#include <QString>
#include <memory>
#include <vector>

#include "bus/TripIndex.h"
#include "data/CityDatabase.h"
#include "map/Workspace.h"

inline const QString kDemoDir = QStringLiteral(QIWU_PROGRAM_DIR);
inline const QString kDemoCity = QStringLiteral("栖坞市");

struct DemoCity {
  CityDatabase database;
  Workspace workspace;
  std::vector<Layer*> layersFromTop;
  std::vector<walk::Street> streets;
  std::unique_ptr<trip::Index> index;         // straight walks
  std::unique_ptr<trip::Index> streetsIndex;  // walks along the streets

  DemoCity();
  static DemoCity& Get() {
    static DemoCity city;
    return city;
  }
};
