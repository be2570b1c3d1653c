#pragma once
// The street network: junctions on the lattice of the Layout, street pieces between neighbouring
// junctions, and the named roads those pieces make up. Coordinates are city metres (warped).
#include <vector>

#include "dataset/City.h"
#include "tools/citygen/Layout.h"
#include "tools/citygen/Names.h"

namespace citygen {

struct Junction {
  Vec2 plan;              // before the warp
  Vec2 at;                // city coordinates
  bool onLattice = true;  // both lines are full lattice lines (not old-town lanes)
  int columnRoad = -1;    // the named roads through it, indices into StreetNetwork::roads
  int rowRoad = -1;
  std::vector<int> pieces;  // street pieces that end here
};

struct StreetPiece {
  int from = 0, to = 0;  // junction indices; `line` runs from `from` to `to`
  RoadClass roadClass = RoadClass::Branch;
  bool lane = false;  // on a half-step minor street (LatticeLine::lane)
  int road = -1;
  Polyline line;
  double length = 0;
};

struct StreetNetwork {
  std::vector<Junction> junctions;
  std::vector<StreetPiece> pieces;
  std::vector<Road> roads;

  int OtherEnd(int piece, int junction) const {
    return pieces[piece].from == junction ? pieces[piece].to : pieces[piece].from;
  }
};

StreetNetwork BuildStreets(const Layout& layout, NameBook& names);

}  // namespace citygen
