#pragma once
// Planar geometry on map coordinates (metres) for hit tests and distance searches.
#include <span>

#include "map/MapTypes.h"

double Distance(MapPoint a, MapPoint b);
// Distance from p to the segment a-b.
double DistanceToSegment(MapPoint p, MapPoint a, MapPoint b);
// Distance from p to the nearest edge of a run of vertices (a line part or a ring).
double DistanceToPath(MapPoint p, std::span<const MapPoint> path);
// Even-odd crossing test of p against one ring; an inside count flips for every ring containing p.
bool RingContains(std::span<const MapPoint> ring, MapPoint p);
