// The searches on a walking network: bounded Dijkstra from a point's join.
#include <algorithm>
#include <cmath>
#include <functional>

#include "bus/WalkNetwork.h"

namespace walk {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

double Straight(MapPoint a, MapPoint b) { return std::hypot(b.x - a.x, b.y - a.y) * trip::kWalkDetour; }

// How far along segment from its end `end` to the join.
double FromEnd(const Network& network, const Join& join, int end) {
  return (end == 0 ? join.along : 1 - join.along) * network.SegmentMetres(join.segment);
}

void AddPiece(std::vector<StreetPiece>& pieces, const QString& name, double metres) {
  if (metres <= 0) return;
  if (!pieces.empty() && pieces.back().name == name)
    pieces.back().metres += metres;
  else
    pieces.push_back({name, metres});
}

void AddPoint(std::vector<MapPoint>& path, MapPoint p) {
  if (path.empty() || !(path.back() == p)) path.push_back(p);
}

}  // namespace

Walker::Walker(const Network& network)
    : network_(network), distance_(std::size_t(network.NodeCount()), kInfinity), via_(distance_.size(), -1) {}

void Walker::Reset() {
  for (std::int32_t node : reached_) distance_[node] = kInfinity;
  reached_.clear();
  heap_.clear();
}

void Walker::Start(const Join& join, double limit) {
  Reset();
  for (int end = 0; end < 2; ++end) {
    const double d = join.metres + FromEnd(network_, join, end);
    const int node = network_.SegmentNode(join.segment, end);
    if (d > limit || d >= distance_[node]) continue;
    if (distance_[node] == kInfinity) reached_.push_back(node);
    distance_[node] = d;
    via_[node] = -1;
    heap_.push_back({d, node});
    std::push_heap(heap_.begin(), heap_.end(), std::greater<>());
  }
}

int Walker::SettleNext(double limit) {
  while (!heap_.empty()) {
    std::pop_heap(heap_.begin(), heap_.end(), std::greater<>());
    const auto [d, node] = heap_.back();
    heap_.pop_back();
    if (d > distance_[node]) continue;  // reached again since, by a shorter way
    if (d > limit) {
      heap_.clear();
      return -1;
    }
    for (std::int32_t segment : network_.SegmentsAt(node)) {
      const int other = network_.SegmentNode(segment, network_.SegmentNode(segment, 0) == node ? 1 : 0);
      const double next = d + network_.SegmentMetres(segment);
      if (next > limit || next >= distance_[other]) continue;
      if (distance_[other] == kInfinity) reached_.push_back(other);
      distance_[other] = next;
      via_[other] = segment;
      heap_.push_back({next, other});
      std::push_heap(heap_.begin(), heap_.end(), std::greater<>());
    }
    return node;
  }
  return -1;
}

Walk Walker::Straight(MapPoint a, MapPoint b) const {
  Walk walk;
  walk.metres = walk::Straight(a, b);
  walk.straight = true;
  AddPoint(walk.path, a);
  AddPoint(walk.path, b);
  return walk;
}

std::optional<Walk> Walker::Between(MapPoint a, MapPoint b, double limit) {
  const std::optional<Join> ja = network_.JoinOf(a), jb = network_.JoinOf(b);
  if (!ja || !jb ||
      network_.PartOf(network_.SegmentNode(ja->segment, 0)) !=
          network_.PartOf(network_.SegmentNode(jb->segment, 0))) {
    Walk walk = Straight(a, b);
    if (!(walk.metres <= limit)) return std::nullopt;
    return walk;
  }
  double best = kInfinity;
  int lastNode = -1;  // -1: along the one segment both join
  if (ja->segment == jb->segment)
    best = ja->metres + std::abs(ja->along - jb->along) * network_.SegmentMetres(ja->segment) + jb->metres;
  Start(*ja, limit);
  for (int node; (node = SettleNext(std::min(limit, best - jb->metres))) >= 0;)
    for (int end = 0; end < 2; ++end) {
      if (network_.SegmentNode(jb->segment, end) != node) continue;
      const double d = distance_[node] + FromEnd(network_, *jb, end) + jb->metres;
      if (d < best) best = d, lastNode = node;
    }
  if (!(best <= limit)) return std::nullopt;
  Walk walk = Traced(a, *ja, b, *jb, lastNode);
  walk.metres = best;
  return walk;
}

Walk Walker::Traced(MapPoint a, const Join& ja, MapPoint b, const Join& jb, int lastNode) const {
  Walk walk;
  AddPoint(walk.path, a);
  AddPoint(walk.path, ja.at);
  if (lastNode < 0) {
    AddPiece(walk.streets, network_.SegmentStreet(ja.segment),
             std::abs(ja.along - jb.along) * network_.SegmentMetres(ja.segment));
  } else {
    std::vector<int> nodes{lastNode}, segments;
    for (int node = lastNode; via_[node] >= 0;) {
      segments.push_back(via_[node]);
      node = network_.SegmentNode(via_[node], network_.SegmentNode(via_[node], 0) == node ? 1 : 0);
      nodes.push_back(node);
    }
    std::reverse(nodes.begin(), nodes.end());
    std::reverse(segments.begin(), segments.end());
    const auto endOf = [&](const Join& join, int node) {
      return network_.SegmentNode(join.segment, 0) == node ? 0 : 1;
    };
    AddPiece(walk.streets, network_.SegmentStreet(ja.segment),
             FromEnd(network_, ja, endOf(ja, nodes.front())));
    for (int segment : segments)
      AddPiece(walk.streets, network_.SegmentStreet(segment), network_.SegmentMetres(segment));
    AddPiece(walk.streets, network_.SegmentStreet(jb.segment), FromEnd(network_, jb, endOf(jb, lastNode)));
    for (int node : nodes) AddPoint(walk.path, network_.NodeAt(node));
  }
  AddPoint(walk.path, jb.at);
  AddPoint(walk.path, b);
  return walk;
}

std::vector<Reach> Walker::Within(MapPoint p, const Places& places, double limit) {
  best_.resize(std::size_t(places.Count()), kInfinity);
  straightTo_.resize(best_.size());
  std::vector<Reach> reached;
  const auto offer = [&](int place, double metres, bool straight) {
    if (!(metres <= limit) || metres >= best_[place]) return;
    if (best_[place] == kInfinity) reached.push_back({place, false, 0});
    best_[place] = metres;
    straightTo_[place] = straight;
  };
  const std::optional<Join> jp = network_.JoinOf(p);
  if (jp) {
    Start(*jp, limit);
    for (int place : places.On(jp->segment)) {
      const Join& j = *places.JoinOfPlace(place);
      offer(place, jp->metres + std::abs(jp->along - j.along) * network_.SegmentMetres(j.segment) + j.metres,
            false);
    }
    for (int node; (node = SettleNext(limit)) >= 0;)
      for (std::int32_t segment : network_.SegmentsAt(node))
        for (int place : places.On(segment)) {
          const Join& j = *places.JoinOfPlace(place);
          const int end = network_.SegmentNode(segment, 0) == node ? 0 : 1;
          offer(place, distance_[node] + FromEnd(network_, j, end) + j.metres, false);
        }
  }
  places.Near(p, limit / trip::kWalkDetour, near_);
  for (int place : near_) {
    const std::optional<Join>& j = places.JoinOfPlace(place);
    if (jp && j &&
        network_.PartOf(network_.SegmentNode(jp->segment, 0)) ==
            network_.PartOf(network_.SegmentNode(j->segment, 0)))
      continue;
    offer(place, walk::Straight(p, places.Point(place)), true);
  }
  for (Reach& r : reached) {
    r.metres = best_[r.place];
    r.straight = straightTo_[r.place];
    best_[r.place] = kInfinity;
  }
  std::sort(reached.begin(), reached.end(), [](const Reach& x, const Reach& y) { return x.place < y.place; });
  return reached;
}

ChangeWalks::ChangeWalks(const Network& network, const Places& places, double limit) {
  Walker walker(network);
  begin_.reserve(std::size_t(places.Count()) + 1);
  begin_.push_back(0);
  for (int place = 0; place < places.Count(); ++place) {
    for (const Reach& r : walker.Within(places.Point(place), places, limit))
      if (r.place != place) walks_.push_back(r);
    begin_.push_back(std::uint32_t(walks_.size()));
  }
  walks_.shrink_to_fit();
}

std::size_t ChangeWalks::MemoryBytes() const {
  return begin_.capacity() * 4 + walks_.capacity() * sizeof(Reach);
}

}  // namespace walk
