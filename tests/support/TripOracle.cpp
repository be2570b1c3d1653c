#include "tests/support/TripOracle.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <queue>
#include <random>

using namespace trip;

namespace {
double Straight(MapPoint a, MapPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

double Segment(const Stop& a, const Stop& b) {
  if (!a.placed || !b.placed) return kUnplacedSegmentMinutes + kMinutesPerSegment;
  return Straight(a.position, b.position) / kRideMetresPerMinute + kMinutesPerSegment;
}
}  // namespace

TripOracle::TripOracle(const Network& network) : network_(network) {
  const std::size_t n = network.stops.size();
  transfers_.resize(n);
  for (std::size_t a = 0; a < n; ++a)
    for (std::size_t b = 0; b < n; ++b) {
      const Stop &sa = network.stops[a], &sb = network.stops[b];
      if (a == b || !sa.placed || !sb.placed) continue;
      const double d = Straight(sa.position, sb.position);
      if (d <= kTransferMetres) transfers_[a].push_back({int(b), d * kWalkDetour / kWalkMetresPerMinute});
    }
  seats_.resize(n);
  for (std::size_t l = 0; l < network.lines.size(); ++l) {
    lineBegin_.push_back(seatCount_);
    const auto& stops = network.lines[l].stops;
    for (std::size_t i = 0; i < stops.size(); ++i) seats_[stops[i]].push_back({int(l), int(i)});
    seatCount_ += int(stops.size());
  }
}

std::vector<TripOracle::Edge> TripOracle::Walks(const Place& place) const {
  std::vector<Edge> walks;
  if (place.stop >= 0) walks.push_back({place.stop, 0});
  for (std::size_t s = 0; s < network_.stops.size(); ++s) {
    const Stop& stop = network_.stops[s];
    if (!place.placed || !stop.placed || int(s) == place.stop) continue;
    const double d = Straight(place.point, stop.position);
    if (d <= kAccessMetres) walks.push_back({int(s), d * kWalkDetour / kWalkMetresPerMinute});
  }
  return walks;
}

std::array<double, kMaxRides + 1> TripOracle::BestMinutes(const Place& from, const Place& to) const {
  std::array<double, kMaxRides + 1> best;
  best.fill(kNoTrip);
  if (from.stop >= 0 && from.stop == to.stop)
    best[0] = 0;
  else if (from.placed && to.placed)
    best[0] = Straight(from.point, to.point) * kWalkDetour / kWalkMetresPerMinute;

  // Nodes: ready to board after k rides (stop, k = 0..3); left ride k (stop, k = 1..4); seated on
  // ride k at a seat (line position) heading one way (seat, direction, k = 1..4).
  const int n = int(network_.stops.size());
  constexpr int K = kMaxRides;
  auto ready = [&](int stop, int k) { return stop * K + k; };
  auto left = [&](int stop, int k) { return n * K + stop * K + (k - 1); };
  auto seated = [&](int seat, int dir, int k) { return 2 * n * K + (seat * 2 + (dir > 0)) * K + (k - 1); };
  std::vector<double> dist(std::size_t(2 * n * K + seatCount_ * 2 * K), kNoTrip);
  using Item = std::pair<double, int>;
  std::priority_queue<Item, std::vector<Item>, std::greater<>> queue;
  auto relax = [&](int node, double d) {
    if (d < dist[node]) {
      dist[node] = d;
      queue.push({d, node});
    }
  };
  for (const Edge& w : Walks(from)) relax(ready(w.to, 0), w.minutes);
  std::vector<double> egress(std::size_t(n), kNoTrip);
  for (const Edge& w : Walks(to)) egress[w.to] = std::min(egress[w.to], w.minutes);
  while (!queue.empty()) {
    const auto [d, node] = queue.top();
    queue.pop();
    if (d > dist[node]) continue;
    // Every later node is at least as far: once each ride count has an answer no longer than d,
    // nothing can improve them.
    if (*std::max_element(best.begin() + 1, best.end()) <= d) break;
    if (node < n * K) {  // ready: board any line here, either way, and ride one segment
      const int stop = node / K, k = node % K;
      for (const auto& [line, i] : seats_[stop]) {
        const auto& stops = network_.lines[line].stops;
        for (int dir : {-1, 1}) {
          const int j = i + dir;
          if (j < 0 || j >= int(stops.size())) continue;
          relax(seated(lineBegin_[line] + j, dir, k + 1),
                d + Segment(network_.stops[stops[i]], network_.stops[stops[j]]));
        }
      }
    } else if (node < 2 * n * K) {  // left a ride: change here or after a short walk
      const int stop = (node - n * K) / K, k = (node - n * K) % K + 1;
      best[k] = std::min(best[k], d + egress[stop]);
      if (k == K) continue;
      relax(ready(stop, k), d + kChangeMinutes);
      for (const Edge& w : transfers_[stop]) relax(ready(w.to, k), d + kChangeMinutes + w.minutes);
    } else {  // seated: get off here, or ride on
      const int rest = node - 2 * n * K, k = rest % K + 1, dir = (rest / K) % 2 ? 1 : -1, seat = rest / K / 2;
      const int line =
          int(std::upper_bound(lineBegin_.begin(), lineBegin_.end(), seat) - lineBegin_.begin()) - 1;
      const auto& stops = network_.lines[line].stops;
      const int i = seat - lineBegin_[line], j = i + dir;
      relax(left(stops[i], k), d);
      if (j >= 0 && j < int(stops.size()))
        relax(seated(seat + dir, dir, k), d + Segment(network_.stops[stops[i]], network_.stops[stops[j]]));
    }
  }
  return best;
}

std::vector<std::pair<Place, Place>> RandomTrips(const Network& network, int count, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<int> placed;
  MapRect extent{1e300, 1e300, -1e300, -1e300};
  for (std::size_t s = 0; s < network.stops.size(); ++s) {
    if (!network.stops[s].placed) continue;
    placed.push_back(int(s));
    const MapPoint p = network.stops[s].position;
    extent = extent.United({p.x, p.y, p.x, p.y});
  }
  auto place = [&](bool atStop) {
    if (atStop) {
      const int s = int(random() % network.stops.size());
      return Place{network.stops[s].name, s, network.stops[s].placed, network.stops[s].position};
    }
    std::uniform_real_distribution<double> x(extent.minX, extent.maxX), y(extent.minY, extent.maxY);
    const MapPoint p{x(random), y(random)};
    return Place{QStringLiteral("%1,%2").arg(p.x).arg(p.y), -1, true, p};
  };
  std::vector<std::pair<Place, Place>> trips;
  for (int i = 0; i < count; ++i) {
    const bool atStops = i % 2 == 0;
    Place from = place(atStops);
    trips.emplace_back(std::move(from), place(atStops));
  }
  return trips;
}

Network GeneratedTripNetwork(int lines, unsigned seed) {
  constexpr int kSide = 80;
  constexpr double kSpacing = 450, kJitter = 60;  // neighbours 330–582 m apart
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> jitter(-kJitter, kJitter);
  Network network;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      Stop& stop = network.stops.emplace_back();
      stop.name = QStringLiteral("%1排%2号站").arg(y + 1).arg(x + 1);
      stop.placed = true;
      stop.position = {x * kSpacing + jitter(random), y * kSpacing + jitter(random)};
    }
  const int dx[] = {1, 0, -1, 0}, dy[] = {0, 1, 0, -1};
  for (int l = 0; l < lines; ++l) {
    Line& line = network.lines.emplace_back();
    line.name = QStringLiteral("%1路").arg(l + 1);
    int x = int(random() % kSide), y = int(random() % kSide), heading = int(random() % 4);
    const int length = 15 + int(random() % 26);
    std::vector<char> visited(kSide * kSide, 0);
    for (int i = 0; i < length; ++i) {
      line.stops.push_back(y * kSide + x);
      visited[y * kSide + x] = 1;
      if (random() % 10 < 3) heading = (heading + (random() % 2 ? 1 : 3)) % 4;
      int tries = 0;
      while (tries < 4) {
        const int nx = x + dx[heading], ny = y + dy[heading];
        if (nx >= 0 && ny >= 0 && nx < kSide && ny < kSide && !visited[ny * kSide + nx]) break;
        heading = (heading + 1) % 4;
        ++tries;
      }
      if (tries == 4) break;
      x += dx[heading];
      y += dy[heading];
    }
  }
  return network;
}
