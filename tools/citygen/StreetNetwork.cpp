#include "tools/citygen/StreetNetwork.h"

#include <algorithm>
#include <cmath>

#include "tools/citygen/PlaneGeometry.h"

namespace citygen {
namespace {

constexpr int kSkip = -1;       // no junction here, but the street goes on
constexpr int kBreak = -2;      // the street stops here: the city's edge or water
constexpr int kLaneBreak = -3;  // a lane stops here (water, a park); the street it meets goes on
constexpr double kWarpStep = 120;

using Chain = std::vector<int>;  // street pieces, in order along one lattice line

class StreetBuilder {
 public:
  StreetBuilder(const Layout& layout, NameBook& names) : layout_(layout), names_(names) {}

  StreetNetwork Build() {
    PlaceJunctions();
    for (std::size_t c = 0; c < layout_.columns.size(); ++c) NameLine(true, c, Connect(true, c));
    for (std::size_t r = 0; r < layout_.rows.size(); ++r) NameLine(false, r, Connect(false, r));
    return std::move(net_);
  }

 private:
  const LatticeLine& Line(bool column, std::size_t index) const {
    return column ? layout_.columns[index] : layout_.rows[index];
  }

  void PlaceJunctions() {
    grid_.assign(layout_.columns.size(), std::vector<int>(layout_.rows.size(), kSkip));
    for (std::size_t c = 0; c < layout_.columns.size(); ++c) {
      for (std::size_t r = 0; r < layout_.rows.size(); ++r) {
        const LatticeLine& column = layout_.columns[c];
        const LatticeLine& row = layout_.rows[r];
        const Vec2 plan{column.at, row.at};
        const bool lane = column.lane || row.lane;
        int& cell = grid_[c][r];
        const bool dry = layout_.InsideOutline(plan) && !layout_.InWater(plan, 30);
        if (lane) {
          const bool onRingRoad =
              std::abs(std::max(std::abs(plan.x), std::abs(plan.y)) - layout_.oldTownHalf) < 1;
          if (onRingRoad) continue;  // lanes end inside the wall
          if (!dry || layout_.InPark(plan, 1)) {
            cell = kLaneBreak;
            continue;
          }
        } else if (!dry) {
          cell = kBreak;
          continue;
        }
        cell = int(net_.junctions.size());
        Junction junction;
        junction.plan = plan;
        junction.at = layout_.Warp(plan);
        junction.onLattice = !lane;
        net_.junctions.push_back(junction);
      }
    }
  }

  // Joins the junctions along one lattice line into street pieces; returns the unbroken runs.
  std::vector<Chain> Connect(bool column, std::size_t index) {
    const LatticeLine& line = Line(column, index);
    const std::size_t count = column ? layout_.rows.size() : layout_.columns.size();
    std::vector<Chain> chains;
    Chain chain;
    int previous = -1;
    auto close = [&] {
      if (!chain.empty()) chains.push_back(chain);
      chain.clear();
    };
    for (std::size_t k = 0; k < count; ++k) {
      const int here = column ? grid_[index][k] : grid_[k][index];
      if (here == kSkip || (here == kLaneBreak && !line.lane)) continue;
      if (here < 0) {
        close();
        previous = -1;
        continue;
      }
      if (previous >= 0) {
        const Vec2 a = net_.junctions[previous].plan, b = net_.junctions[here].plan;
        // Only main and secondary roads bridge the water; some minor streets simply end.
        const bool minor = line.roadClass == RoadClass::Branch;
        const bool throughWall = layout_.InsideOldTown(a) != layout_.InsideOldTown(b);
        const double gaps = line.lane ? 0.12 : 0.05;  // some minor streets simply end
        const bool dropped =
            minor && (layout_.CrossesWater(a, b) || (line.lane && throughWall) ||
                      (!layout_.InsideOldTown(Lerp(a, b, 0.5)) && names_.random().Chance(gaps)));
        if (dropped) {
          close();
        } else {
          chain.push_back(AddPiece(previous, here, line));
        }
      }
      previous = here;
    }
    close();
    return chains;
  }

  int AddPiece(int from, int to, const LatticeLine& line) {
    StreetPiece piece;
    piece.from = from;
    piece.to = to;
    piece.roadClass = line.roadClass;
    piece.lane = line.lane;
    piece.line = WarpDensified(layout_, {net_.junctions[from].plan, net_.junctions[to].plan}, kWarpStep);
    piece.length = PolylineLength(piece.line);
    const int id = int(net_.pieces.size());
    net_.pieces.push_back(piece);
    net_.junctions[from].pieces.push_back(id);
    net_.junctions[to].pieces.push_back(id);
    return id;
  }

  // Which stretch of its line a piece lies in: outside the wall, or inside it (the centre lines
  // split in two at the old town's central junction).
  int Zone(bool column, std::size_t index, int piece) const {
    const Vec2 mid =
        Lerp(net_.junctions[net_.pieces[piece].from].plan, net_.junctions[net_.pieces[piece].to].plan, 0.5);
    const double along = column ? mid.y : mid.x;
    const double half = layout_.oldTownHalf;
    if (std::abs(Line(column, index).at) > half || std::abs(along) >= half) return 0;
    const bool centreLine = std::abs(Line(column, index).at) < 1;
    return centreLine && along > 0 ? 2 : 1;
  }

  std::vector<Chain> SplitByZone(bool column, std::size_t index, const std::vector<Chain>& chains,
                                 std::vector<int>& zones) const {
    std::vector<Chain> runs;
    for (const Chain& chain : chains) {
      int zone = -1;
      for (int piece : chain) {
        const int z = Zone(column, index, piece);
        if (z != zone) {
          runs.emplace_back();
          zones.push_back(z);
          zone = z;
        }
        runs.back().push_back(piece);
      }
    }
    return runs;
  }

  void NameLine(bool column, std::size_t index, const std::vector<Chain>& chains) {
    const LatticeLine& line = Line(column, index);
    std::vector<int> zones;
    const std::vector<Chain> runs = SplitByZone(column, index, chains, zones);
    for (std::size_t k = 0; k < runs.size(); ++k) {
      if (zones[k] != 0) {
        AddRoad(InsideName(column, line, zones[k]), line.roadClass, runs[k], column);
      } else if (line.roadClass == RoadClass::Branch) {
        NameBranchRun(runs[k], column);
      } else {
        NameArterialRun(runs[k], line.roadClass, column);
      }
    }
  }

  // A main or secondary road between two breaks: one stem, in up to three sections named by
  // direction ("建设南路", "建设中路", "建设北路").
  void NameArterialRun(const Chain& run, RoadClass roadClass, bool column) {
    const std::size_t longest = roadClass == RoadClass::Main ? 8 : 6;
    const std::size_t parts = std::min<std::size_t>(3, (run.size() + longest - 1) / longest);
    const std::string stem = names_.Stem();
    Random& random = names_.random();
    const bool avenue = roadClass == RoadClass::Main && parts < 3 && random.Chance(0.35);
    const std::string base = avenue                                                      ? "大道"
                             : (roadClass == RoadClass::Secondary && random.Chance(0.3)) ? "街"
                                                                                         : "路";
    for (std::size_t p = 0; p < parts; ++p) {
      const std::size_t begin = run.size() * p / parts, end = run.size() * (p + 1) / parts;
      AddRoad(stem + SectionWord(column, p, parts) + base, roadClass,
              Chain(run.begin() + begin, run.begin() + end), column);
    }
  }

  // "南"/"中"/"北" for a north-south road, "西"/"中"/"东" for an east-west one.
  static std::string SectionWord(bool column, std::size_t k, std::size_t count) {
    if (count == 1) return "";
    static const char* const kColumn[3] = {"南", "中", "北"};
    static const char* const kRow[3] = {"西", "中", "东"};
    const std::size_t slot = count == 2 ? k * 2 : k;
    return column ? kColumn[slot] : kRow[slot];
  }

  std::string InsideName(bool column, const LatticeLine& line, int zone) {
    if (line.ringRoad)
      return std::string("环城") + (column ? (line.at < 0 ? "西" : "东") : (line.at < 0 ? "南" : "北")) +
             "路";
    if (std::abs(line.at) < 1) {
      if (column) return zone == 2 ? "北大街" : "南大街";
      return zone == 2 ? "东大街" : "西大街";
    }
    return names_.Stem() + (line.lane ? "巷" : "街");
  }

  void NameBranchRun(const Chain& run, bool column) {
    for (std::size_t begin = 0; begin < run.size();) {
      const std::size_t length = std::min<std::size_t>(run.size() - begin, names_.random().Between(2, 5));
      const double pick = names_.random().Unit();
      const char* suffix = pick < 0.45 ? "街" : pick < 0.8 ? "路" : "巷";
      AddRoad(names_.Stem() + suffix, RoadClass::Branch,
              Chain(run.begin() + begin, run.begin() + begin + length), column);
      begin += length;
    }
  }

  void AddRoad(const std::string& name, RoadClass roadClass, const Chain& run, bool column) {
    const int id = int(net_.roads.size());
    Road road{name, roadClass, {}};
    names_.Claim(name);
    for (int piece : run) {
      StreetPiece& p = net_.pieces[piece];
      p.road = id;
      road.line.insert(road.line.end(), p.line.begin() + (road.line.empty() ? 0 : 1), p.line.end());
      for (int end : {p.from, p.to})
        (column ? net_.junctions[end].columnRoad : net_.junctions[end].rowRoad) = id;
    }
    net_.roads.push_back(std::move(road));
  }

  const Layout& layout_;
  NameBook& names_;
  StreetNetwork net_;
  std::vector<std::vector<int>> grid_;  // junction index per (column, row), or kSkip / kBreak
};

}  // namespace

StreetNetwork BuildStreets(const Layout& layout, NameBook& names) {
  return StreetBuilder(layout, names).Build();
}

}  // namespace citygen
