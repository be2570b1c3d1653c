#include "bus/StreetWalks.h"

#include <cmath>

namespace trip {

std::unique_ptr<const StreetWalks> StreetWalks::Make(std::span<const walk::Street> streets,
                                                     std::vector<int> ids, std::vector<MapPoint> points) {
  auto network = std::make_unique<walk::Network>(streets);
  if (network->Empty()) return nullptr;
  return std::make_unique<const StreetWalks>(std::move(network), std::move(ids), std::move(points));
}

StreetWalks::StreetWalks(std::unique_ptr<walk::Network> network, std::vector<int> ids,
                         std::vector<MapPoint> points)
    : network_(std::move(network)), ids_(std::move(ids)), places_(*network_, std::move(points)) {}

std::vector<PlaceWalk> StreetWalks::Access(MapPoint p, walk::Walker& walker) const {
  std::vector<PlaceWalk> walks;
  for (const walk::Reach& r : walker.Within(p, places_, walk::kAccessWalkMetres))
    walks.push_back({ids_[std::size_t(r.place)], r.metres});
  return walks;
}

std::vector<std::vector<PlaceWalk>> StreetWalks::Changes() const {
  const walk::ChangeWalks changes(*network_, places_);
  std::vector<std::vector<PlaceWalk>> walks(ids_.size());
  for (int place = 0; place < places_.Count(); ++place)
    for (const walk::Reach& r : changes.From(place))
      walks[std::size_t(place)].push_back({ids_[std::size_t(r.place)], r.metres});
  return walks;
}

std::size_t StreetWalks::MemoryBytes() const {
  return sizeof(*this) + network_->MemoryBytes() + places_.MemoryBytes() + ids_.capacity() * sizeof(int);
}

walk::Walk WalkBetween(const StreetWalks* streets, walk::Walker* walker, MapPoint a, MapPoint b) {
  if (streets && walker) return *walker->Between(a, b);
  walk::Walk straight;
  straight.metres = WalkedMetres(std::hypot(b.x - a.x, b.y - a.y));
  straight.straight = true;
  straight.path = {a, b};
  return straight;
}

}  // namespace trip
