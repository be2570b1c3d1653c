#include "dataset/Shapes.h"
#include "tools/citygen/Landscape.h"

namespace citygen {
namespace {

// The band between two squares centred on the origin, `from` and `to` metres inside the ring road.
Shape SquareBand(double half, double from, double to) {
  const Shape outer = MakeRectangle({-half + from, -half + from}, {half - from, half - from});
  const Shape inner = MakeRectangle({-half + to, -half + to}, {half - to, half - to});
  return Subtract(*outer, *inner);
}

}  // namespace

void BuildWaterAndWall(const Layout& layout, NameBook& names, City& city) {
  const Shape outline = MakeRing(layout.Outline());
  const std::string riverStem = names.Stem();
  for (const auto& [course, name] :
       {std::pair{&layout.river, riverStem + "江"}, std::pair{&layout.creek, names.Stem() + "河"}}) {
    const Shape line = MakeLine(WarpDensified(layout, course->plan, 60));
    const Shape water = Intersect(*Buffer(*line, course->halfWidth), *outline);
    city.waters.push_back({name, PolygonsOf(*water)});
  }
  const double half = layout.oldTownHalf;
  city.waters.push_back(
      {"护城河", PolygonsOf(*SquareBand(half, OldTownBands::kMoatFrom, OldTownBands::kMoatTo))});

  // The wall opens in a gate wherever a lattice street passes through it.
  Shape wall = SquareBand(half, OldTownBands::kWallFrom, OldTownBands::kWallTo);
  for (const LatticeLine& line : layout.columns) {
    if (line.lane || std::abs(line.at) >= half) continue;
    wall = Subtract(*wall, *MakeRectangle({line.at - 18, -half - 1}, {line.at + 18, half + 1}));
  }
  for (const LatticeLine& line : layout.rows) {
    if (line.lane || std::abs(line.at) >= half) continue;
    wall = Subtract(*wall, *MakeRectangle({-half - 1, line.at - 18}, {half + 1, line.at + 18}));
  }
  city.wall = {CityStem(city.name) + "古城墙", PolygonsOf(*wall)};
}

}  // namespace citygen
