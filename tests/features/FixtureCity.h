#pragma once
// A small city written by the tests themselves: a GeoPackage with a handful of layers at known
// coordinates (EPSG:4547, metres), the main workspace that lists them and an SQLite city
// database with the feature tables. Exact geometry makes the search cases exact.
#include <QString>
#include <QTemporaryDir>
#include <vector>

#include "map/MapTypes.h"

namespace fixture {

inline const QString kCityName = QStringLiteral("测试市");

// The centre every case is measured from.
constexpr double kCx = 500000;
constexpr double kCy = 3400000;
inline MapPoint At(double dx, double dy) { return {kCx + dx, kCy + dy}; }

struct NamedPoint {
  QString name;
  MapPoint at;
};

// The layers' contents, in layer order.
const std::vector<NamedPoint>& Restaurants();  // 餐饮娱乐
const std::vector<NamedPoint>& Banks();        // 金融银行
const std::vector<NamedPoint>& Colleges();     // 大中专院校
const std::vector<NamedPoint>& Stations();     // 加油站: many seeded random points

// The card columns of the restaurants that have them (the others have a name only).
struct Card {
  const char* name;
  const char* linkman;
  const char* tel;
  const char* address;
  const char* web;
};
extern const Card kCards[2];

// Writes the city into a temporary folder once per test program.
class City {
 public:
  static const City& Get();

  // Laid out like a program directory: map/<city>/<city>.gst and data/<city>.mdb (an SQLite file).
  QString Root() const;
  QString WorkspacePath() const;  // the main workspace
  QString DatabasePath() const;   // the city database

 private:
  City();
  QTemporaryDir dir_;
};

}  // namespace fixture
