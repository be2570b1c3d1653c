#include "bus/WalkNetwork.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <unordered_map>

#include "data/CityVocabulary.h"
#include "map/Layer.h"

namespace walk {

namespace {

bool Finite(MapPoint p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// Coordinates as a key: the same coordinates give the same key (0 and -0 alike).
struct PointKey {
  std::uint64_t x, y;
  bool operator==(const PointKey&) const = default;
};
struct PointKeyHash {
  std::size_t operator()(const PointKey& k) const { return std::size_t(k.x * 0x9E3779B97F4A7C15ull ^ k.y); }
};
PointKey KeyOf(MapPoint p) {
  const double x = p.x + 0.0, y = p.y + 0.0;  // -0 becomes 0
  PointKey key{};
  std::memcpy(&key.x, &x, sizeof x);
  std::memcpy(&key.y, &y, sizeof y);
  return key;
}

int Root(std::vector<std::int32_t>& parent, int i) {
  while (parent[i] != i) i = parent[i] = parent[parent[i]];
  return i;
}

MapRect Around(MapPoint p, double radius) { return {p.x - radius, p.y - radius, p.x + radius, p.y + radius}; }

}  // namespace

std::vector<const Layer*> WalkLayers(std::span<Layer* const> layers) {
  const QStringList names = {
      QString::fromUtf8(city::layer::kMainRoads), QString::fromUtf8(city::layer::kSecondaryRoads),
      QString::fromUtf8(city::layer::kBranchRoads), QString::fromUtf8(city::layer::kFootways),
      QString::fromUtf8(city::layer::kWalkways)};
  std::vector<const Layer*> walked;
  for (const Layer* layer : layers)
    if (layer && names.contains(layer->Name())) walked.push_back(layer);
  return walked;
}

std::vector<Street> StreetsOf(std::span<const Layer* const> layers) {
  std::vector<Street> streets;
  for (const Layer* layer : layers) {
    const FeatureStore& store = layer->Store();
    const int field = layer->DisplayField();
    const int foot = store.FieldIndex(QString::fromUtf8(city::kFootField));
    for (int id = 1; id <= store.IdLimit(); ++id) {
      if (!store.Exists(id)) continue;
      if (foot >= 0 && store.ValueOf(id, foot).toString() == QStringLiteral("no")) continue;
      Street& street = streets.emplace_back();
      if (field >= 0) street.name = store.ValueOf(id, field).toString();
      if (store.TypeOf(id) != kFeatureLine) continue;
      for (int part = 0; part < store.PartCount(id); ++part) {
        const std::span<const MapPoint> points = store.Part(id, part);
        street.parts.emplace_back(points.begin(), points.end());
      }
    }
  }
  return streets;
}

Network::Network(std::span<const Street> streets) {
  std::unordered_map<PointKey, std::int32_t, PointKeyHash> nodeAt;
  QHash<QString, std::int32_t> nameIndex;
  const auto node = [&](MapPoint p) {
    const auto [it, added] = nodeAt.try_emplace(KeyOf(p), std::int32_t(nodes_.size()));
    if (added) nodes_.push_back(p);
    return it->second;
  };
  std::vector<MapPoint> line;
  for (const Street& street : streets) {
    bool finite = true, usable = false;
    for (const auto& part : street.parts) {
      finite = finite && std::all_of(part.begin(), part.end(), Finite);
      usable = usable || std::adjacent_find(part.begin(), part.end(), std::not_equal_to<>()) != part.end();
    }
    if (!finite || !usable) {
      ++leftOut_;
      continue;
    }
    const QString name = street.name.trimmed().isEmpty() ? kUnnamedStreet : street.name;
    const std::int32_t nameId = nameIndex.value(name, std::int32_t(streetNames_.size()));
    if (nameId == std::int32_t(streetNames_.size())) {
      nameIndex.insert(name, nameId);
      streetNames_.push_back(name);
    }
    for (const auto& part : street.parts) {
      line.assign(part.begin(), part.end());
      line.erase(std::unique(line.begin(), line.end()), line.end());
      for (std::size_t i = 1; i < line.size(); ++i) {
        segmentNodes_.push_back(node(line[i - 1]));
        segmentNodes_.push_back(node(line[i]));
        segmentMetres_.push_back(std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y));
        segmentStreet_.push_back(nameId);
      }
    }
  }
  const int segments = SegmentCount();
  nodeBegin_.assign(nodes_.size() + 1, 0);
  for (std::int32_t n : segmentNodes_) ++nodeBegin_[n + 1];
  std::partial_sum(nodeBegin_.begin(), nodeBegin_.end(), nodeBegin_.begin());
  nodeSegments_.resize(segmentNodes_.size());
  std::vector<std::uint32_t> next(nodeBegin_.begin(), nodeBegin_.end() - 1);
  nodePart_.resize(nodes_.size());
  std::iota(nodePart_.begin(), nodePart_.end(), 0);
  std::vector<MapRect> boxes(static_cast<std::size_t>(segments));
  for (int s = 0; s < segments; ++s) {
    const int u = SegmentNode(s, 0), v = SegmentNode(s, 1);
    nodeSegments_[next[u]++] = s;
    nodeSegments_[next[v]++] = s;
    nodePart_[Root(nodePart_, u)] = Root(nodePart_, v);
    boxes[s] = MapRect::FromCorners(nodes_[u].x, nodes_[u].y, nodes_[v].x, nodes_[v].y);
  }
  for (std::size_t n = 0; n < nodes_.size(); ++n) nodePart_[n] = Root(nodePart_, int(n));
  grid_ = BoxGrid(boxes, 100);
}

std::size_t Network::MemoryBytes() const {
  std::size_t names = 0;
  for (const QString& name : streetNames_) names += sizeof(QString) + std::size_t(name.capacity()) * 2;
  return nodes_.capacity() * sizeof(MapPoint) + nodePart_.capacity() * 4 + segmentNodes_.capacity() * 4 +
         segmentMetres_.capacity() * 8 + segmentStreet_.capacity() * 4 + names + nodeBegin_.capacity() * 4 +
         nodeSegments_.capacity() * 4 + grid_.MemoryBytes();
}

double Network::SegmentDistance(int segment, MapPoint p, double& along) const {
  const MapPoint a = nodes_[SegmentNode(segment, 0)], b = nodes_[SegmentNode(segment, 1)];
  const double dx = b.x - a.x, dy = b.y - a.y;
  along = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(p.x - (a.x + along * dx), p.y - (a.y + along * dy));
}

std::optional<Join> Network::JoinOf(MapPoint p) const {
  if (Empty() || !Finite(p)) return std::nullopt;
  Join best;
  best.metres = std::numeric_limits<double>::infinity();
  // Widening squares: a segment within radius of p meets the square of that radius.
  for (double radius = 50;; radius = std::min(radius * 4, kMaxJoinMetres)) {
    grid_.ForEachIn(Around(p, radius), [&](int segment) {
      double along = 0;
      const double metres = SegmentDistance(segment, p, along);
      if (metres < best.metres || (metres == best.metres && segment < best.segment)) {
        best.segment = segment;
        best.along = along;
        best.metres = metres;
      }
    });
    if (best.metres <= radius || radius == kMaxJoinMetres) break;
  }
  if (!(best.metres <= kMaxJoinMetres)) return std::nullopt;
  const MapPoint a = nodes_[SegmentNode(best.segment, 0)], b = nodes_[SegmentNode(best.segment, 1)];
  best.at = best.along == 0   ? a
            : best.along == 1 ? b
                              : MapPoint{a.x + best.along * (b.x - a.x), a.y + best.along * (b.y - a.y)};
  return best;
}

Places::Places(const Network& network, std::vector<MapPoint> points) : points_(std::move(points)) {
  joins_.reserve(points_.size());
  segmentBegin_.assign(std::size_t(network.SegmentCount()) + 1, 0);
  std::vector<MapRect> boxes;
  boxes.reserve(points_.size());
  for (MapPoint p : points_) {
    joins_.push_back(network.JoinOf(p));
    if (joins_.back()) ++segmentBegin_[joins_.back()->segment + 1];
    boxes.push_back({p.x, p.y, p.x, p.y});
  }
  std::partial_sum(segmentBegin_.begin(), segmentBegin_.end(), segmentBegin_.begin());
  onSegment_.resize(segmentBegin_.back());
  std::vector<std::uint32_t> next(segmentBegin_.begin(), segmentBegin_.end() - 1);
  for (std::size_t i = 0; i < joins_.size(); ++i)
    if (joins_[i]) onSegment_[next[joins_[i]->segment]++] = std::int32_t(i);
  grid_ = BoxGrid(boxes, 200);
}

void Places::Near(MapPoint p, double radius, std::vector<int>& out) const {
  out.clear();
  grid_.ForEachIn(Around(p, radius), [&](int place) {
    if (std::hypot(points_[place].x - p.x, points_[place].y - p.y) <= radius) out.push_back(place);
  });
}

std::size_t Places::MemoryBytes() const {
  return points_.capacity() * sizeof(MapPoint) + joins_.capacity() * sizeof(std::optional<Join>) +
         segmentBegin_.capacity() * 4 + onSegment_.capacity() * 4 + grid_.MemoryBytes();
}

}  // namespace walk
