#include "tools/citygen/PointsOfInterest.h"

#include <algorithm>
#include <cmath>

#include "tools/citygen/Landscape.h"
#include "tools/citygen/PlaneGeometry.h"
#include "tools/citygen/PoiNames.h"

namespace citygen {
namespace {

// Features per type at scale 1, in the order of kPoiTypes.
constexpr int kCounts[5] = {1200, 90, 120, 380, 300};

struct Site {
  Vec2 at;
  std::string road;
  int houseNumber = 0;
};

// Picks places beside the streets: a street piece chosen by weight, a point along it, a few
// dozen metres to one side. Odd house numbers on one side, even on the other.
class SitePicker {
 public:
  SitePicker(const Layout& layout, const StreetNetwork& streets, const City& city)
      : layout_(layout), streets_(streets) {
    double total = 0;
    for (const StreetPiece& piece : streets.pieces) {
      const Vec2 mid = Lerp(streets.junctions[piece.from].plan, streets.junctions[piece.to].plan, 0.5);
      const double busy = piece.roadClass == RoadClass::Main        ? 3
                          : piece.roadClass == RoadClass::Secondary ? 2
                                                                    : 1.2;
      total += piece.length * busy * (0.2 + std::exp(-std::hypot(mid.x, mid.y) / 4000));
      cumulative_.push_back(total);
    }
    for (const Area& water : city.waters)
      if (water.name.ends_with("湖")) lakes_.push_back(Bounds(water));
  }

  Site Pick(Random& random, bool oldTownOnly) const {
    for (;;) {
      const double target = random.Uniform(0, cumulative_.back());
      const std::size_t index =
          std::lower_bound(cumulative_.begin(), cumulative_.end(), target) - cumulative_.begin();
      const StreetPiece& piece = streets_.pieces[std::min(index, cumulative_.size() - 1)];
      const Vec2 a = streets_.junctions[piece.from].plan, b = streets_.junctions[piece.to].plan;
      const Vec2 mid = Lerp(a, b, 0.5);
      if (oldTownOnly && !layout_.InsideOldTown(mid, 150)) continue;
      const double t = random.Uniform(0.12, 0.88);
      const int side = random.Chance(0.5) ? 1 : -1;
      const double offset =
          piece.roadClass == RoadClass::Main ? random.Uniform(32, 50) : random.Uniform(20, 38);
      const Vec2 along = (b - a) * (1 / Distance(a, b));
      const Vec2 plan = Lerp(a, b, t) + Vec2{-along.y, along.x} * (side * offset);
      if (!Dry(plan)) continue;
      const Vec2 at = layout_.Warp(plan);
      if (InLake(at)) continue;
      const Road& road = streets_.roads[piece.road];
      const int number = 1 + 2 * int(Distance(road.line.front(), at) / 30) + (side > 0 ? 1 : 0);
      return {at, road.name, number};
    }
  }

 private:
  struct Box {
    Vec2 min, max;
  };
  static Box Bounds(const Area& area) {
    Box box{{INFINITY, INFINITY}, {-INFINITY, -INFINITY}};
    for (const Polygon& part : area.parts)
      for (const Vec2& p : part.rings.front()) {
        box.min = {std::min(box.min.x, p.x), std::min(box.min.y, p.y)};
        box.max = {std::max(box.max.x, p.x), std::max(box.max.y, p.y)};
      }
    return box;
  }

  // Off the river and clear of the moat and the wall.
  bool Dry(Vec2 plan) const {
    if (layout_.InWater(plan, 15) || !layout_.InsideOutline(plan) || layout_.InPark(plan, 20)) return false;
    const double ring = std::max(std::abs(plan.x), std::abs(plan.y));
    return std::abs(ring - (layout_.oldTownHalf - OldTownBands::kWallTo / 2)) >
           OldTownBands::kWallTo / 2 + 12;
  }

  bool InLake(Vec2 at) const {
    return std::any_of(lakes_.begin(), lakes_.end(), [&](const Box& box) {
      return at.x > box.min.x && at.x < box.max.x && at.y > box.min.y && at.y < box.max.y;
    });
  }

  const Layout& layout_;
  const StreetNetwork& streets_;
  std::vector<double> cumulative_;
  std::vector<Box> lakes_;
};

// A spot inside a block park, between its centre (where a lake may lie) and its first corner.
Vec2 ParkSpot(const Area& area) {
  Vec2 sum;
  const Ring& ring = area.parts.front().rings.front();
  for (std::size_t k = 0; k + 1 < ring.size(); ++k) sum = sum + ring[k];
  return Lerp(sum * (1.0 / double(ring.size() - 1)), ring.front(), 0.6);
}

void AddSights(const Layout& layout, const SitePicker& picker, PoiNamer& namer, int count, City& city) {
  Random& random = namer.names.random();
  std::vector<Poi>& sights = city.pois[size_t(PoiType::Sight)];
  // The bell and drum towers in the old town's centre, the gates in the wall, the parks.
  sights.push_back({"钟楼", {45, 45}, {}, {}, {}, {}});
  sights.push_back({"鼓楼", {-45, 330}, {}, {}, {}, {}});
  const double gate = layout.oldTownHalf - (OldTownBands::kWallFrom + OldTownBands::kWallTo) / 2;
  const char* const gates[4] = {"迎江门", "朝阳门", "拱辰门", "安定门"};
  const Vec2 gateAt[4] = {{0, -gate}, {gate, 0}, {0, gate}, {-gate, 0}};
  for (int k = 0; k < 4; ++k)
    sights.push_back({namer.cityStem + gates[k], gateAt[k] + Vec2{25, 25}, {}, {}, {}, {}});
  sights.push_back({"环城公园",
                    {200, -layout.oldTownHalf + (OldTownBands::kGreenFrom + OldTownBands::kGreenTo) / 2},
                    {},
                    {},
                    {},
                    {}});
  for (const Area& green : city.greens) {
    if (green.name.ends_with("公园") && green.parts.size() == 1 && green.parts.front().rings.size() == 1) {
      sights.push_back({green.name, ParkSpot(green), {}, {}, {}, {}});
    }
  }
  for (const Poi& sight : sights) namer.names.Claim(sight.name);
  while (int(sights.size()) < count) {
    const bool oldTown = random.Chance(0.35);
    const Site site = picker.Pick(random, oldTown);
    sights.push_back({namer.Sight(oldTown), site.at, {}, {}, {}, {}});
  }
}

// Two dining places and two banks exactly 50 m from the tie point, nothing of their types nearer
// than 120 m: the nearest search must settle the tie by layer order.
void PlaceTies(City& city) {
  city.tiePoint = {130, 410};
  const Vec2 tie = city.tiePoint;
  for (PoiType type : {PoiType::Dining, PoiType::Bank}) {
    auto& list = city.pois[size_t(type)];
    std::erase_if(list, [&](const Poi& poi) { return Distance(poi.at, tie) < 120; });
  }
  auto& dining = city.pois[size_t(PoiType::Dining)];
  // Written in this order: 听雨轩茶楼 and 汇通银行听松支行 come first in their layers.
  dining.insert(dining.begin(), {"听雨轩茶楼", tie + Vec2{30, 40}, "周明", "07361234567", "栖坞市北大街18号",
                                 "www.tingyuxuan.cn"});
  dining.push_back({"半岛咖啡", tie + Vec2{-40, -30}, "吴静", "13912345678", "", ""});
  auto& banks = city.pois[size_t(PoiType::Bank)];
  banks.insert(banks.begin(), {"汇通银行听松支行", tie + Vec2{0, 50}, {}, {}, {}, {}});
  banks.push_back({"嘉禾银行观澜支行", tie + Vec2{50, 0}, {}, {}, {}, {}});
}

// Names with Latin letters in mixed case and with apostrophes, and one name used twice.
void AddOddNames(const SitePicker& picker, PoiNamer& namer, City& city) {
  Random& random = namer.names.random();
  auto& dining = city.pois[size_t(PoiType::Dining)];
  const struct {
    const char* name;
    const char* web;
  } odd[] = {{"BlueMoon咖啡", "www.bluemoon-cafe.com"},
             {"Luigi's意式餐厅", "http://www.luigis-qiwu.com"},
             {"Mama's西餐厅", "mamas-kitchen.cn"},
             {"老街坊面馆", ""},
             {"老街坊面馆", "http://www.laojiefang.com"}};
  for (const auto& entry : odd) {
    const Site site = picker.Pick(random, false);
    dining.push_back(
        {entry.name, site.at, namer.names.Person(), "1380736" + std::to_string(random.Between(1000, 9999)),
         namer.cityStem + "市" + site.road + std::to_string(site.houseNumber) + "号", entry.web});
  }
  const Site site = picker.Pick(random, false);
  city.pois[size_t(PoiType::College)].push_back(
      {"iTech" + namer.cityStem + "软件学院", site.at, {}, {}, {}, {}});
}

}  // namespace

void BuildPointsOfInterest(const Layout& layout, const StreetNetwork& streets, NameBook& names, int scale,
                           City& city) {
  PoiNamer namer{names, CityStem(city.name), {}};
  for (const Area& district : city.districts)
    namer.districtStems.push_back(district.name.substr(0, district.name.size() - 3));
  const SitePicker picker(layout, streets, city);
  Random& random = names.random();
  AddSights(layout, picker, namer, kCounts[size_t(PoiType::Sight)] * scale, city);
  for (PoiType type : {PoiType::Dining, PoiType::College, PoiType::Bank, PoiType::Clinic}) {
    auto& list = city.pois[size_t(type)];
    for (int k = 0; k < kCounts[size_t(type)] * scale; ++k) {
      const Site site = picker.Pick(random, false);
      Poi poi;
      switch (type) {
        case PoiType::Dining:
          poi = namer.Dining(site.road, site.houseNumber);
          break;
        case PoiType::College:
          poi.name = namer.College();
          break;
        case PoiType::Bank:
          poi.name = namer.Bank(site.road);
          break;
        default:
          poi.name = namer.Clinic(site.road);
          break;
      }
      poi.at = site.at;
      list.push_back(std::move(poi));
    }
  }
  AddOddNames(picker, namer, city);
  PlaceTies(city);
}

}  // namespace citygen
