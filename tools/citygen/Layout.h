#pragma once
// The city's ground plan: the outline, the lattice of street lines, the old town square and the
// water courses, in "plan space" (metres from the centre, before the gentle warp that bends the
// outer streets). Every other part of the generator builds on one Layout.
#include <vector>

#include "dataset/City.h"
#include "tools/citygen/Random.h"

namespace citygen {

// One straight line of the street lattice: a column (x = at) or a row (y = at).
struct LatticeLine {
  double at = 0;
  RoadClass roadClass = RoadClass::Branch;
  // A half-step minor street between two lattice lines: the lanes of the old town inside the
  // wall, the small streets of a neighbourhood outside it. Lanes never pass the wall.
  bool lane = false;
  bool ringRoad = false;  // runs along the old town's moat
};

// A rectangle of plan space between four full lattice lines.
struct Block {
  Vec2 min, max;
};

// A river or canal: its centre line in plan space and half its width.
struct WaterCourse {
  Polyline plan;
  double halfWidth = 0;

  // Distance from a point to the centre line, exact when under `limit` (else some value >= limit).
  double DistanceWithin(Vec2 point, double limit) const;
};

struct Layout {
  double radius = 0;                       // mean radius of the city outline
  double oldTownHalf = 0;                  // half the side of the walled square, centred on the origin
  std::vector<LatticeLine> columns, rows;  // sorted by `at`
  WaterCourse river, creek;                // the main river and its branch
  std::vector<Block> parks;                // blocks kept free of lanes for parks
  double outlineWave[3] = {0, 0, 0};
  double warpPhase[4] = {0, 0, 0, 0};

  bool InsideOutline(Vec2 plan) const;
  bool InsideOldTown(Vec2 plan, double margin = 0) const;
  // Whether a point lies inside a park block, shrunk by `margin` metres on every side.
  bool InPark(Vec2 plan, double margin = 0) const;
  // Whether a point lies on a water course, widened by `margin` metres.
  bool InWater(Vec2 plan, double margin) const;
  // Whether the segment a-b crosses a water course's centre line.
  bool CrossesWater(Vec2 a, Vec2 b) const;
  // Plan space to city coordinates: outer streets bend, the old town stays square.
  Vec2 Warp(Vec2 plan) const;
  // The city outline in city coordinates, closed.
  Ring Outline() const;
};

// A layout for a city `scale` times the demo's area.
Layout MakeLayout(Random& random, int scale);

// Warped copy of a plan-space polyline, with points added so that no piece is longer than `step`.
Polyline WarpDensified(const Layout& layout, const Polyline& plan, double step);

}  // namespace citygen
