#pragma once
// A planner index's walks along the city's streets (bus/WalkNetwork.h): the walking network and the
// places walked to and from (stops or platforms, by the index's ids) joined to it, once when the
// index is built. Read-only after, so searches may share it; each search brings its own Walker.
#include <memory>
#include <span>
#include <vector>

#include "bus/WalkNetwork.h"

namespace trip {

struct PlaceWalk {
  int id = -1;        // the index's id of the place
  double metres = 0;  // walked
};

class StreetWalks {
 public:
  // Null when the streets make an empty network: the index then walks straight lines.
  static std::unique_ptr<const StreetWalks> Make(std::span<const walk::Street> streets, std::vector<int> ids,
                                                 std::vector<MapPoint> points);
  StreetWalks(std::unique_ptr<walk::Network> network, std::vector<int> ids, std::vector<MapPoint> points);

  const walk::Network& Network() const { return *network_; }
  // The places within an access walk (kAccessWalkMetres) of p, by id.
  std::vector<PlaceWalk> Access(MapPoint p, walk::Walker& walker) const;
  // For each id given to Make, in that order, the other places within a change walk (kChangeWalkMetres).
  std::vector<std::vector<PlaceWalk>> Changes() const;
  std::size_t MemoryBytes() const;

 private:
  std::unique_ptr<walk::Network> network_;
  std::vector<int> ids_;  // by place
  walk::Places places_;
};

// The walk from a to b, however long: along the streets when there are some (walker on them), else
// the straight line × kWalkDetour.
walk::Walk WalkBetween(const StreetWalks* streets, walk::Walker* walker, MapPoint a, MapPoint b);

}  // namespace trip
