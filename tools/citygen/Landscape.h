#pragma once
// The city's areas: water and the old town wall, green land, and the districts with their
// borders. Each builder adds its part to the City; coordinates are city metres.
#include "dataset/City.h"
#include "tools/citygen/Layout.h"
#include "tools/citygen/Names.h"

namespace citygen {

// The river, its branch and the moat (City::waters) and the wall with its gates (City::wall).
void BuildWaterAndWall(const Layout& layout, NameBook& names, City& city);
// Parks, the green belt along the moat and the river, nurseries at the edge (City::greens),
// and the lakes inside some parks (added to City::waters).
void BuildGreens(const Layout& layout, NameBook& names, City& city);
// The districts (City::districts), their borders (City::districtBorders) and the city border.
void BuildDistricts(const Layout& layout, NameBook& names, City& city);

// The width of the band on each side of the old town's ring road: the moat and the wall lie
// inside the ring road at these distances (metres) from its centre line.
struct OldTownBands {
  static constexpr double kGreenFrom = 16, kGreenTo = 38;
  static constexpr double kMoatFrom = 38, kMoatTo = 72;
  static constexpr double kWallFrom = 78, kWallTo = 98;
};

}  // namespace citygen
