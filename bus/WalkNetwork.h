#pragma once
// Walking along a city's streets: the network of its street lines, built once per city and
// read-only after, and the walks on it. Streets meet where they share a vertex (the same
// coordinates), never where lines merely cross. A point joins the network at the nearest point of
// any segment by a straight line; a walk is that line, the shortest way along the network, and the
// line from the other join. Its length is walked metres, with no factor. Where a join line would be
// longer than kMaxJoinMetres, or the joins lie in parts that do not connect, or the network is
// empty, the walk is the straight line × kWalkDetour instead. Positions are map metres. No widgets.
#include <QString>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "bus/BoxGrid.h"
#include "bus/TripModel.h"
#include "map/MapTypes.h"

class Layer;

namespace walk {

constexpr double kAccessWalkMetres = trip::kAccessMetres * trip::kWalkDetour;  // 1,040: to and from platforms
constexpr double kChangeWalkMetres = trip::kTransferMetres * trip::kWalkDetour;  // 390: a change
constexpr double kMaxJoinMetres = kAccessWalkMetres;
constexpr double kNoLimit = std::numeric_limits<double>::infinity();
inline const QString kUnnamedStreet = QStringLiteral("无名道路");

// A street as read from a map layer: its name and the parts of its line.
struct Street {
  QString name;
  std::vector<std::vector<MapPoint>> parts;
};

// The layers walked on, of the given layers, by name: 主干道, 次干道, 支路, 步行道 and 步行网络
// (an imported city's other walkable ways, drawn nowhere).
std::vector<const Layer*> WalkLayers(std::span<Layer* const> layers);
// Every feature of the layers as a street named by the layer's display field, but those marked
// foot=no (a motorway of an imported city); a feature that is no line gets no parts (the network
// leaves it out and counts it).
std::vector<Street> StreetsOf(std::span<const Layer* const> layers);

// Where a point meets the network: segment, the point on it and how far along it (0 at the
// segment's first node, 1 at its second).
struct Join {
  int segment = -1;
  MapPoint at;
  double along = 0;
  double metres = 0;  // the straight line from the point to at
};

using StreetPiece = trip::StreetPiece;

struct Walk {
  double metres = 0;      // walked
  bool straight = false;  // the straight line × kWalkDetour: no way along the network
  // The start, its join, every network vertex on the way, the other join, the end; a point equal
  // to the one before it is left out. Exact: writers round them (to 0.1 m).
  std::vector<MapPoint> path;
  // The pieces along streets, consecutive pieces of one street merged; the join lines are none.
  std::vector<StreetPiece> streets;
};

class Network {
 public:
  explicit Network(std::span<const Street> streets);

  bool Empty() const { return segmentNodes_.empty(); }
  int NodeCount() const { return int(nodes_.size()); }
  int SegmentCount() const { return int(segmentNodes_.size() / 2); }
  // Streets left out: no part of two distinct vertices, or a coordinate that is not finite.
  int LeftOut() const { return leftOut_; }
  std::size_t MemoryBytes() const;

  // The nearest point of any segment within kMaxJoinMetres (of equal distances the first segment
  // in the streets' order); nullopt when there is none.
  std::optional<Join> JoinOf(MapPoint p) const;

  MapPoint NodeAt(int node) const { return nodes_[node]; }
  int SegmentNode(int segment, int end) const { return segmentNodes_[2 * segment + end]; }
  double SegmentMetres(int segment) const { return segmentMetres_[segment]; }
  const QString& SegmentStreet(int segment) const { return streetNames_[segmentStreet_[segment]]; }
  // The segments meeting at node.
  std::span<const std::int32_t> SegmentsAt(int node) const {
    return {nodeSegments_.data() + nodeBegin_[node], nodeSegments_.data() + nodeBegin_[node + 1]};
  }
  // Nodes of one part of the network share a number.
  int PartOf(int node) const { return nodePart_[node]; }

 private:
  double SegmentDistance(int segment, MapPoint p, double& along) const;

  std::vector<MapPoint> nodes_;
  std::vector<std::int32_t> nodePart_;
  std::vector<std::int32_t> segmentNodes_;  // two per segment
  std::vector<double> segmentMetres_;
  std::vector<std::int32_t> segmentStreet_;  // index into streetNames_
  std::vector<QString> streetNames_;
  std::vector<std::uint32_t> nodeBegin_;  // CSR: segments at each node
  std::vector<std::int32_t> nodeSegments_;
  BoxGrid grid_;  // segments
  int leftOut_ = 0;
};

// Points walked to and from (platforms, stop positions), joined to a network once.
class Places {
 public:
  Places(const Network& network, std::vector<MapPoint> points);

  int Count() const { return int(points_.size()); }
  MapPoint Point(int place) const { return points_[place]; }
  const std::optional<Join>& JoinOfPlace(int place) const { return joins_[place]; }
  // The places joined to segment.
  std::span<const std::int32_t> On(int segment) const {
    return {onSegment_.data() + segmentBegin_[segment], onSegment_.data() + segmentBegin_[segment + 1]};
  }
  // The places within radius (straight line) of p, in no order.
  void Near(MapPoint p, double radius, std::vector<int>& out) const;
  std::size_t MemoryBytes() const;

 private:
  std::vector<MapPoint> points_;
  std::vector<std::optional<Join>> joins_;
  std::vector<std::uint32_t> segmentBegin_;
  std::vector<std::int32_t> onSegment_;
  BoxGrid grid_;  // places
};

// A place reached by a walk.
struct Reach {
  std::int32_t place = -1;
  bool straight = false;
  double metres = 0;  // walked
};

// One thread's searches on a network: it keeps the search's arrays between calls. The network
// must outlive it.
class Walker {
 public:
  explicit Walker(const Network& network);

  // The walk from a to b; nullopt when it is longer than limit.
  std::optional<Walk> Between(MapPoint a, MapPoint b, double limit = kNoLimit);
  // Every place whose walk from p is at most limit, by place; the metres are those Between gives.
  std::vector<Reach> Within(MapPoint p, const Places& places, double limit);

 private:
  void Start(const Join& join, double limit);
  // Settles the nearest node not yet settled; -1 when none is within limit.
  int SettleNext(double limit);
  void Reset();
  Walk Straight(MapPoint a, MapPoint b) const;
  Walk Traced(MapPoint a, const Join& ja, MapPoint b, const Join& jb, int lastNode) const;

  const Network& network_;
  std::vector<double> distance_;       // by node; infinity: not reached
  std::vector<std::int32_t> via_;      // by node: the segment it was reached along, -1 from the join
  std::vector<std::int32_t> reached_;  // nodes whose distance is set
  std::vector<std::pair<double, std::int32_t>> heap_;
  std::vector<double> best_;  // by place, for Within
  std::vector<bool> straightTo_;
  std::vector<int> near_;
};

// The change walks between places: for each place, every other place within limit walked metres.
// One bounded search from each place's join.
class ChangeWalks {
 public:
  ChangeWalks(const Network& network, const Places& places, double limit = kChangeWalkMetres);

  std::span<const Reach> From(int place) const {
    return {walks_.data() + begin_[place], walks_.data() + begin_[place + 1]};
  }
  std::size_t MemoryBytes() const;

 private:
  std::vector<std::uint32_t> begin_;
  std::vector<Reach> walks_;
};

}  // namespace walk
