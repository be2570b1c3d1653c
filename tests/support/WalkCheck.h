#pragma once
// Checks of a walk along the streets against the referee (tests/support/WalkOracle.h).
#include <vector>

#include "bus/WalkNetwork.h"
#include "tests/support/WalkOracle.h"

double PathMetres(const std::vector<MapPoint>& path);
// Equal to a millionth (of a metre, or of the length when longer).
bool CloseMetres(double a, double b);
// What every walk from a to b must be: the referee's metres; its path from a to b along the streets
// but for the two join lines, as long as its metres; its streets as long as the path without join
// lines. tolerance: metres a point may lie off (a path rounded for writing).
// Two banks of a river 200 m wide along y = ±100 (北岸路, 南岸路) from x = −7000 to 7000, crossed
// by one bridge (桥) at x = bridge.
std::vector<walk::Street> RiverStreets(double bridge);
void ExpectWalk(const walk::Network& network, const WalkOracle& oracle, const walk::Walk& walk, MapPoint a,
                MapPoint b, double tolerance = 1e-6);
