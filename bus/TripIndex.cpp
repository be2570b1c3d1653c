#include "bus/TripIndex.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "data/TextCollation.h"

namespace trip {

namespace {
double Distance(MapPoint a, MapPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

double SegmentTime(const Stop& a, const Stop& b) {
  if (!a.placed || !b.placed) return kUnplacedSegmentMinutes + kMinutesPerSegment;
  return Distance(a.position, b.position) / kRideMetresPerMinute + kMinutesPerSegment;
}

// Turns per-item lists into one array and the offsets of each item's part.
template <class T>
void Flatten(std::vector<std::vector<T>>& lists, std::vector<std::uint32_t>& begin, std::vector<T>& all) {
  begin.assign(1, 0);
  for (auto& list : lists) {
    all.insert(all.end(), list.begin(), list.end());
    begin.push_back(std::uint32_t(all.size()));
    std::vector<T>().swap(list);
  }
}
}  // namespace

Index::Index(Network network, std::span<const walk::Street> streets) : network_(std::move(network)) {
  const int stops = StopCount();
  for (int s = stops - 1; s >= 0; --s) {
    stopByName_.insert(network_.stops[s].name, s);
    stopByFoldedName_.insert(FoldLatinCase(network_.stops[s].name), s);
  }

  std::vector<std::vector<int>> through(stops);
  segmentBegin_.push_back(0);
  for (int l = 0; l < LineCount(); ++l) {
    const std::vector<int>& seq = network_.lines[l].stops;
    for (std::size_t i = 0; i + 1 < seq.size(); ++i)
      segmentMinutes_.push_back(SegmentTime(network_.stops[seq[i]], network_.stops[seq[i + 1]]));
    segmentBegin_.push_back(std::uint32_t(segmentMinutes_.size()));
    for (int s : seq)  // lines are visited in order, so a repeat is always the last entry
      if (through[s].empty() || through[s].back() != l) through[s].push_back(l);
  }
  Flatten(through, linesBegin_, linesThrough_);

  for (int s = 0; s < stops; ++s)
    if (network_.stops[s].placed)
      grid_[CellOf(network_.stops[s].position.x, network_.stops[s].position.y)].push_back(s);
  std::vector<std::vector<Walk>> transfers(stops);
  std::vector<int> placed;
  std::vector<MapPoint> points;
  for (int s = 0; s < stops; ++s)
    if (network_.stops[s].placed) {
      placed.push_back(s);
      points.push_back(network_.stops[s].position);
    }
  streets_ = StreetWalks::Make(streets, placed, std::move(points));
  if (streets_) {
    std::vector<std::vector<PlaceWalk>> changes = streets_->Changes();
    for (std::size_t place = 0; place < placed.size(); ++place)
      for (const PlaceWalk& w : changes[place])
        transfers[placed[place]].push_back({w.id, w.metres, w.metres / kWalkMetresPerMinute});
  } else {
    for (int s : placed)
      for (const Walk& w : StopsNear(network_.stops[s].position, kTransferMetres))
        if (w.stop != s) transfers[s].push_back(w);
  }
  Flatten(transfers, transfersBegin_, transfers_);
}

std::vector<Index::Walk> Index::AccessWalks(MapPoint p, walk::Walker* walker) const {
  if (!streets_) return StopsNear(p, kAccessMetres);
  std::optional<walk::Walker> own;
  if (!walker) walker = &own.emplace(streets_->Network());
  std::vector<Walk> walks;
  for (const PlaceWalk& w : streets_->Access(p, *walker))
    walks.push_back({w.id, w.metres, w.metres / kWalkMetresPerMinute});
  return walks;
}

std::int64_t Index::CellOf(double x, double y) const {
  // A data set's absurd coordinates (1e300 m, or not finite) land in the edge cells instead of
  // overflowing the conversion.
  const auto cell = [](double v) {
    const double c = std::floor(v / kAccessMetres);
    return std::int64_t(std::isfinite(c) ? std::clamp(c, -2147483648.0, 2147483647.0) : 0.0);
  };
  return (cell(x) << 32) ^ (cell(y) & 0xFFFFFFFF);
}

std::vector<Index::Walk> Index::StopsNear(MapPoint p, double radius) const {
  std::vector<Walk> near;
  const int reach = int(std::ceil(radius / kAccessMetres));
  const double cx = std::floor(p.x / kAccessMetres), cy = std::floor(p.y / kAccessMetres);
  for (int dx = -reach; dx <= reach; ++dx) {
    for (int dy = -reach; dy <= reach; ++dy) {
      const auto cell = grid_.find(CellOf((cx + dx + 0.5) * kAccessMetres, (cy + dy + 0.5) * kAccessMetres));
      if (cell == grid_.end()) continue;
      for (int s : cell->second) {
        const double straight = Distance(p, network_.stops[s].position);
        if (straight <= radius) near.push_back({s, WalkedMetres(straight), WalkMinutes(straight)});
      }
    }
  }
  std::sort(near.begin(), near.end(), [](const Walk& a, const Walk& b) { return a.stop < b.stop; });
  return near;
}

int Index::StopNamed(const QString& name) const {
  const int exact = stopByName_.value(name, -1);
  return exact >= 0 ? exact : stopByFoldedName_.value(FoldLatinCase(name), -1);
}

std::size_t Index::MemoryBytes() const {
  std::size_t bytes = sizeof(*this);
  for (const Stop& s : network_.stops) bytes += sizeof(Stop) + std::size_t(s.name.capacity()) * 2;
  for (const Line& l : network_.lines)
    bytes += sizeof(Line) + std::size_t(l.name.capacity()) * 2 + l.stops.capacity() * sizeof(int);
  bytes += std::size_t(stopByName_.capacity() + stopByFoldedName_.capacity()) *
           (sizeof(QString) + sizeof(int) + sizeof(void*));
  bytes += (segmentBegin_.capacity() + linesBegin_.capacity() + transfersBegin_.capacity()) *
           sizeof(std::uint32_t);
  bytes += segmentMinutes_.capacity() * sizeof(double) + linesThrough_.capacity() * sizeof(int);
  bytes += transfers_.capacity() * sizeof(Walk);
  for (const auto& [cell, stops] : grid_)
    bytes += sizeof(cell) + sizeof(stops) + stops.capacity() * sizeof(int) + 2 * sizeof(void*);
  if (streets_) bytes += streets_->MemoryBytes();
  return bytes;
}

}  // namespace trip
