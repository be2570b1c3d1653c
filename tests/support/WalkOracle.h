#pragma once
// A referee for walks along streets: a plain Dijkstra over a graph of the streets' vertices (keyed
// by their coordinates in a map), the points joined by trying every segment. Slow and simple.
#include <map>
#include <utility>
#include <vector>

#include "bus/WalkNetwork.h"

class WalkOracle {
 public:
  explicit WalkOracle(const std::vector<walk::Street>& streets);

  struct Answer {
    double metres = 0;
    bool straight = false;  // no way along the streets: the straight line × 1.3
  };
  Answer Walk(MapPoint a, MapPoint b) const;
  // Whether p lies within tolerance of some street segment.
  bool OnStreet(MapPoint p, double tolerance) const;
  int LeftOut() const { return leftOut_; }
  // Distance from p to the segment a–b.
  static double Distance(MapPoint p, MapPoint a, MapPoint b);

 private:
  struct Segment {
    int u, v;
    MapPoint a, b;
  };
  struct Nearest {
    int segment = -1;
    double t = 0, metres = 0;
  };
  Nearest NearestSegment(MapPoint p) const;

  std::map<std::pair<double, double>, int> ids_;
  std::vector<std::vector<std::pair<int, double>>> edges_;
  std::vector<Segment> segments_;
  int leftOut_ = 0;
};
