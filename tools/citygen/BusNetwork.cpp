#include "tools/citygen/BusNetwork.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "tools/citygen/PlaneGeometry.h"
#include "tools/citygen/RoutePlanner.h"

namespace citygen {
namespace {

// A number in [0, 1) fixed by a line's seed and a street piece, so each line sees its own
// slightly different street costs without storing them.
double Shuffle(std::uint64_t seed, int piece) {
  std::uint64_t z = seed ^ (std::uint64_t(piece) * 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return double((z ^ (z >> 31)) >> 11) * 0x1.0p-53;
}

// The connected part of the bus street network (no lanes) each junction belongs to, numbered by a
// junction in it.
std::vector<int> Components(const StreetNetwork& streets) {
  std::vector<int> part(streets.junctions.size(), -1);
  std::vector<int> stack;
  for (std::size_t start = 0; start < part.size(); ++start) {
    if (part[start] >= 0) continue;
    part[start] = int(start);
    stack.push_back(int(start));
    while (!stack.empty()) {
      const int here = stack.back();
      stack.pop_back();
      for (int piece : streets.junctions[here].pieces) {
        if (streets.pieces[piece].lane) continue;
        const int next = streets.OtherEnd(piece, here);
        if (part[next] < 0) {
          part[next] = int(start);
          stack.push_back(next);
        }
      }
    }
  }
  return part;
}

struct Landmark {
  std::string name;
  Vec2 at;
};

class BusBuilder {
 public:
  BusBuilder(const Layout& layout, const StreetNetwork& streets, NameBook& names, int scale, City& city)
      : layout_(layout),
        streets_(streets),
        names_(names),
        planner_(streets),
        scale_(scale),
        city_(city),
        random_(names.random().Fork(3)),
        baseCost_(BaseCosts(streets)),
        stopOf_(streets.junctions.size(), -1) {
    // Stops stand only where the bulk of the network reaches: a search towards a pocket cut off
    // by water would otherwise comb the whole city in vain.
    const std::vector<int> part = Components(streets);
    std::vector<int> size(streets.junctions.size(), 0);
    for (int p : part) ++size[p];
    const int main = int(std::max_element(size.begin(), size.end()) - size.begin());
    for (std::size_t k = 0; k < streets.junctions.size(); ++k) {
      if (streets.junctions[k].onLattice && part[k] == main) stations_.push_back(int(k));
    }
    // Sights, colleges and hospitals give their names to nearby stops; small clinics do not.
    for (PoiType type : {PoiType::Sight, PoiType::Clinic, PoiType::College}) {
      for (const Poi& poi : city.pois[size_t(type)]) {
        if (type != PoiType::Clinic || poi.name.find("医院") != std::string::npos) {
          landmarks_.push_back({poi.name, poi.at});
        }
      }
    }
  }

  void Build() {
    ReserveNames();
    AddLoop();
    AddRegular();
    AddSuburban();
    AddTourist();
    AddNewTown();
    AddNight();
    NumberLines();
  }

 private:
  // The railway and coach stations and a business park, named ahead of the junction names.
  void ReserveNames() {
    const double r = layout_.radius;
    const std::string stem = CityStem(city_.name);
    const std::pair<Vec2, std::string> places[] = {{{200, 0.5 * r}, stem + "火车站"},
                                                   {{-0.55 * r, 300}, stem + "汽车客运站"},
                                                   {{0.45 * r, 200}, "iPark创意园"}};
    for (const auto& [plan, name] : places) {
      const int junction = NearestStation(layout_.Warp(plan));
      reserved_[junction] = name;
      hubs_.push_back(junction);
    }
  }

  // Suburban lines are numbered from 301 on; ordinary lines leave that block of numbers to them.
  static constexpr int kSuburbanFirst = 301;

  // What a metre of straight distance typically costs a line: routes follow the street grid.
  static constexpr double kPerMetre = 1.5;

  // A piece's length weighted by how well its street suits buses; lanes are closed to them.
  static std::vector<double> BaseCosts(const StreetNetwork& streets) {
    std::vector<double> costs;
    for (const StreetPiece& p : streets.pieces) {
      const double fit = p.lane                                ? INFINITY
                         : p.roadClass == RoadClass::Main      ? 1.0
                         : p.roadClass == RoadClass::Secondary ? 1.1
                                                               : 1.6;
      costs.push_back(p.length * fit);
    }
    return costs;
  }

  RoutePlanner::PieceCost LineCost() {
    const std::uint64_t seed = random_.Next();
    return [this, seed](int piece) { return baseCost_[piece] * (0.7 + 0.6 * Shuffle(seed, piece)); };
  }

  // The legs between consecutive waypoints as one path, empty when some leg has none. With
  // `used`, each leg's pieces are marked there before the next leg is searched.
  Path Join(const std::vector<int>& waypoints, const RoutePlanner::PieceCost& cost,
            double perMetre = kPerMetre, std::vector<char>* used = nullptr) const {
    Path whole;
    for (std::size_t k = 0; k + 1 < waypoints.size(); ++k) {
      const Path leg = planner_.Find(waypoints[k], waypoints[k + 1], cost, perMetre);
      if (leg.junctions.empty()) return {};
      if (whole.junctions.empty()) whole.junctions.push_back(leg.junctions.front());
      whole.junctions.insert(whole.junctions.end(), leg.junctions.begin() + 1, leg.junctions.end());
      whole.pieces.insert(whole.pieces.end(), leg.pieces.begin(), leg.pieces.end());
      if (used) {
        for (int piece : leg.pieces) (*used)[piece] = 1;
      }
    }
    return whole;
  }

  // Stops along a path: every lattice junction, each once (a loop closes on its first stop).
  std::vector<int> StopJunctions(const Path& path, bool loop) const {
    std::vector<int> stops;
    for (int junction : path.junctions) {
      if (!streets_.junctions[junction].onLattice) continue;
      if (std::find(stops.begin(), stops.end(), junction) != stops.end()) continue;
      stops.push_back(junction);
    }
    if (loop && !stops.empty()) stops.push_back(stops.front());
    return stops;
  }

  // Whether a path passes a junction twice (a detour through a waypoint can double back).
  static bool HasRepeats(const Path& path) {
    std::vector<int> sorted = path.junctions;
    std::sort(sorted.begin(), sorted.end());
    return std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end();
  }

  void AddLine(const std::string& name, const Path& path, const std::vector<int>& stopJunctions) {
    BusLine line;
    line.name = name;
    for (int junction : stopJunctions) line.stops.push_back(StopAt(junction));
    for (std::size_t k = 0; k < path.pieces.size(); ++k) {
      const StreetPiece& piece = streets_.pieces[path.pieces[k]];
      Polyline part = piece.line;
      if (piece.from != path.junctions[k]) std::reverse(part.begin(), part.end());
      line.route.insert(line.route.end(), part.begin() + (line.route.empty() ? 0 : 1), part.end());
    }
    city_.lines.push_back(std::move(line));
  }

  int StopAt(int junction) {
    if (stopOf_[junction] < 0) {
      stopOf_[junction] = int(city_.stops.size());
      city_.stops.push_back({StopName(junction), streets_.junctions[junction].at});
    }
    return stopOf_[junction];
  }

  bool ClaimStop(const std::string& name) { return names_.Claim("stop:" + name); }

  std::string StopName(int junction) {
    if (auto it = reserved_.find(junction); it != reserved_.end() && ClaimStop(it->second)) return it->second;
    const Junction& j = streets_.junctions[junction];
    const Road* column = j.columnRoad >= 0 ? &streets_.roads[j.columnRoad] : nullptr;
    const Road* row = j.rowRoad >= 0 ? &streets_.roads[j.rowRoad] : nullptr;
    if (column && row && row->roadClass < column->roadClass) std::swap(column, row);
    const bool minor = !column || !row || row->roadClass == RoadClass::Branch;
    if (minor) {
      // Along quieter streets a stop takes the name of a hospital, college or sight nearby.
      for (const Landmark& landmark : landmarks_) {
        if (Distance(landmark.at, j.at) < 260 && ClaimStop(landmark.name)) return landmark.name;
      }
    }
    if (column && row && ClaimStop(column->name + row->name + "口")) return column->name + row->name + "口";
    const Road& road = column ? *column : *row;
    for (const char* suffix : {"站", "东站", "西站", "南站", "北站"}) {
      if (ClaimStop(road.name + suffix)) return road.name + suffix;
    }
    for (int k = 2;; ++k) {
      if (ClaimStop(road.name + std::to_string(k) + "站")) return road.name + std::to_string(k) + "站";
    }
  }

  // A junction where a stop may stand, drawn at random until `accept` takes one (or, after many
  // refusals, any such junction).
  int RandomStation(const std::function<bool(int junction)>& accept) {
    for (int tries = 0; tries < 400; ++tries) {
      const int junction = random_.Pick(stations_);
      if (accept(junction)) return junction;
    }
    return random_.Pick(stations_);
  }

  int NearestStation(Vec2 at) const {
    return *std::min_element(stations_.begin(), stations_.end(), [&](int a, int b) {
      return Distance(streets_.junctions[a].at, at) < Distance(streets_.junctions[b].at, at);
    });
  }

  bool Served(int junction) const { return stopOf_[junction] >= 0; }
  Vec2 Plan(int junction) const { return streets_.junctions[junction].plan; }
  double PlanRadius(int junction) const { return std::hypot(Plan(junction).x, Plan(junction).y); }

  // The old town's ring road, once round, starting and ending at its south-west corner.
  void AddLoop() {
    const double h = layout_.oldTownHalf;
    std::vector<int> corners;
    for (const Vec2 corner : {Vec2{-h, -h}, Vec2{h, -h}, Vec2{h, h}, Vec2{-h, h}, Vec2{-h, -h}}) {
      corners.push_back(NearestStation(corner));
    }
    const auto ringOnly = [this](int piece) {
      const int road = streets_.pieces[piece].road;
      return streets_.roads[road].name.starts_with("环城") ? streets_.pieces[piece].length : INFINITY;
    };
    const Path path = Join(corners, ringOnly);
    AddLine("1路", path, StopJunctions(path, true));
  }

  std::string NextNumber() {
    do {
      ++number_;
    } while ((number_ >= kSuburbanFirst - 1 && number_ < kSuburbanFirst - 1 + 100 * scale_) ||
             random_.Chance(0.1));
    return std::to_string(number_) + "路";
  }

  // Ordinary lines, each from a junction no line serves yet (while there are such) to a junction
  // some kilometres away, until the city is covered.
  void AddRegular() {
    const std::size_t minimum = 125 * scale_, most = 180 * scale_, stopTarget = 760 * scale_;
    std::size_t added = 0;
    for (int attempt = 0; attempt < 5000 * scale_ && added < most; ++attempt) {
      if (added >= minimum && city_.stops.size() >= stopTarget) break;
      const bool fresh = random_.Chance(0.75);
      const int from =
          added % 9 == 0 ? hubs_[added / 9 % 2] : RandomStation([&](int j) { return !fresh || !Served(j); });
      const Vec2 start = streets_.junctions[from].at;
      const int to = RandomStation([&](int j) {
        const double d = Distance(streets_.junctions[j].at, start);
        return d > 6500 && d < 16000 && (random_.Chance(0.3) || !Served(j));
      });
      // Many lines cross the middle of the city, where they meet one another for changes.
      std::vector<int> waypoints = {from, to};
      if (random_.Chance(0.7)) {
        const int middle = RandomStation([&](int j) { return PlanRadius(j) < 2600; });
        waypoints.insert(waypoints.begin() + 1, middle);
      }
      const Path path = Join(waypoints, LineCost());
      const std::vector<int> stops = StopJunctions(path, false);
      if (stops.size() < 12 || stops.size() > 48 || HasRepeats(path)) continue;
      AddLine(NextNumber(), path, stops);
      ++added;
    }
  }

  // Feeders from villages at the city's edge towards the inner districts.
  void AddSuburban() {
    int number = kSuburbanFirst;
    for (int k = 0; k < 12 * scale_; ++k) {
      for (int attempt = 0; attempt < 50; ++attempt) {
        const int from = RandomStation([&](int j) { return PlanRadius(j) > layout_.radius * 0.85; });
        const Vec2 outer = Plan(from);
        const int to = RandomStation([&](int j) {
          const double r = PlanRadius(j);
          const double turn = std::abs(
              std::remainder(std::atan2(Plan(j).y, Plan(j).x) - std::atan2(outer.y, outer.x), 2 * M_PI));
          return r > layout_.radius * 0.4 && r < layout_.radius * 0.65 && turn < 0.5;
        });
        const Path path = planner_.Find(from, to, LineCost(), kPerMetre);
        const std::vector<int> stops = StopJunctions(path, false);
        if (stops.size() < 6) continue;
        AddLine(std::to_string(number++) + "路", path, stops);
        break;
      }
    }
  }

  // Sightseeing lines calling at three or four sights each.
  void AddTourist() {
    const std::vector<Poi>& sights = city_.pois[size_t(PoiType::Sight)];
    const int numbers[] = {1, 2, 3, 5, 8};
    for (int k = 0; k < 5 * scale_; ++k) {
      const int number = k < 5 ? numbers[k] : 8 + k - 4;
      for (int attempt = 0; attempt < 50; ++attempt) {
        std::vector<int> waypoints = {NearestStation(sights[random_.Index(sights.size())].at)};
        for (int tries = 0; tries < 200 && waypoints.size() < 4; ++tries) {
          const int next = NearestStation(sights[random_.Index(sights.size())].at);
          const double d = Distance(streets_.junctions[next].at, streets_.junctions[waypoints.back()].at);
          if (d > 1200 && d < 5000) waypoints.push_back(next);
        }
        const Path path = Join(waypoints, LineCost());
        if (waypoints.size() < 4 || path.junctions.empty() || HasRepeats(path)) continue;
        AddLine("游" + std::to_string(number) + "路", path, StopJunctions(path, false));
        break;
      }
    }
  }

  // Lines that stay inside the new town east of the old one.
  void AddNewTown() {
    const auto east = [&](int j) {
      const double r = PlanRadius(j);
      return r > layout_.radius * 0.25 && r < layout_.radius * 0.85 &&
             std::abs(std::atan2(Plan(j).y, Plan(j).x)) < 0.3;
    };
    for (int k = 1; k <= 3 * scale_; ++k) {
      for (int attempt = 0; attempt < 50; ++attempt) {
        const int from = RandomStation(east);
        const int to = RandomStation(east);
        if (Distance(streets_.junctions[from].at, streets_.junctions[to].at) < 3000) continue;
        const Path path = planner_.Find(from, to, LineCost(), kPerMetre);
        if (path.junctions.empty()) continue;
        AddLine("高新" + std::to_string(k) + "号线", path, StopJunctions(path, false));
        break;
      }
    }
  }

  // One long night line sweeping the city row by row, avoiding streets it has already used.
  void AddNight() {
    const double r = layout_.radius;
    std::vector<int> waypoints;
    for (int row = 0; row < 5; ++row) {
      const double y = r * (-0.7 + 0.35 * row);
      const double x = r * 0.65 * (row % 2 == 0 ? 1 : -1);
      for (double end : {-x, x}) waypoints.push_back(NearestStation(layout_.Warp({end, y})));
    }
    std::vector<char> used(streets_.pieces.size(), 0);
    const auto cost = [&](int piece) { return baseCost_[piece] * (used[piece] ? 6 : 1); };
    const Path path = Join(waypoints, cost, 1.0, &used);
    AddLine("夜1路", path, StopJunctions(path, false));
  }

  // The line list's order: numbered lines by number, then sightseeing, new-town and night lines.
  void NumberLines() {
    const auto rank = [](const BusLine& line) {
      const char first = line.name.front();
      const int group = (first >= '0' && first <= '9')  ? 0
                        : line.name.starts_with("游")   ? 1
                        : line.name.starts_with("高新") ? 2
                                                        : 3;
      const std::size_t digits = line.name.find_first_of("0123456789");
      return std::pair{group, std::atoi(line.name.c_str() + digits)};
    };
    std::stable_sort(city_.lines.begin(), city_.lines.end(),
                     [&](const auto& a, const auto& b) { return rank(a) < rank(b); });
    for (std::size_t k = 0; k < city_.lines.size(); ++k) city_.lines[k].id = int(k) + 1;
  }

  const Layout& layout_;
  const StreetNetwork& streets_;
  NameBook& names_;
  RoutePlanner planner_;
  int scale_;
  City& city_;
  Random random_;
  std::vector<double> baseCost_;  // per street piece
  std::vector<int> stopOf_;       // stop index per junction, or -1
  std::vector<int> stations_;     // junctions where a stop may stand
  std::vector<int> hubs_;
  std::vector<Landmark> landmarks_;
  std::map<int, std::string> reserved_;
  int number_ = 1;
};

}  // namespace

void BuildBusNetwork(const Layout& layout, const StreetNetwork& streets, NameBook& names, int scale,
                     City& city) {
  BusBuilder(layout, streets, names, scale, city).Build();
}

}  // namespace citygen
