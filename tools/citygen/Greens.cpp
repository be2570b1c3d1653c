#include <cmath>

#include "dataset/Shapes.h"
#include "tools/citygen/Landscape.h"
#include "tools/citygen/PlaneGeometry.h"

namespace citygen {
namespace {

constexpr double kInset = 30;  // parks keep clear of the streets around their block

Ring BlockRing(const Layout& layout, const Block& block, double inset) {
  const Vec2 a{block.min.x + inset, block.min.y + inset}, c{block.max.x - inset, block.max.y - inset};
  return WarpDensified(layout, {a, {c.x, a.y}, c, {a.x, c.y}, a}, 60);
}

// An irregular oval lake in the middle of a block.
Ring LakeRing(const Layout& layout, const Block& block, Random& random) {
  const Vec2 centre = Lerp(block.min, block.max, 0.5);
  const double rx = (block.max.x - block.min.x) * random.Uniform(0.2, 0.3);
  const double ry = (block.max.y - block.min.y) * random.Uniform(0.2, 0.3);
  const double phase = random.Uniform(0, 6.28);
  Ring ring;
  for (int k = 0; k < 48; ++k) {
    const double angle = 2 * M_PI * k / 48;
    const double wobble = 1 + 0.12 * std::sin(3 * angle + phase) + 0.06 * std::sin(5 * angle + 2 * phase);
    ring.push_back(
        layout.Warp({centre.x + rx * wobble * std::cos(angle), centre.y + ry * wobble * std::sin(angle)}));
  }
  ring.push_back(ring.front());
  return ring;
}

}  // namespace

void BuildGreens(const Layout& layout, NameBook& names, City& city) {
  const double half = layout.oldTownHalf;
  const Shape belt =
      Subtract(*MakeRectangle({-half + OldTownBands::kGreenFrom, -half + OldTownBands::kGreenFrom},
                              {half - OldTownBands::kGreenFrom, half - OldTownBands::kGreenFrom}),
               *MakeRectangle({-half + OldTownBands::kGreenTo, -half + OldTownBands::kGreenTo},
                              {half - OldTownBands::kGreenTo, half - OldTownBands::kGreenTo}));
  city.greens.push_back({"环城公园", PolygonsOf(*belt)});

  // A strip of park on both banks of the river through the middle of the city.
  const Shape river = MakeLine(WarpDensified(layout, layout.river.plan, 60));
  const Shape banks =
      Subtract(*Buffer(*river, layout.river.halfWidth + 70), *Buffer(*river, layout.river.halfWidth));
  const double reach = layout.radius * 0.45;
  const Shape middle = MakeRectangle({-reach, -layout.radius}, {reach, layout.radius});
  city.greens.push_back({"滨江公园", PolygonsOf(*Intersect(*banks, *middle))});

  Random random = names.random().Fork(1);
  for (const Block& block : layout.parks) {
    const Vec2 centre = Lerp(block.min, block.max, 0.5);
    const bool edge = std::hypot(centre.x, centre.y) > layout.radius * 0.75;
    const std::string stem = names.Stem();
    Area green{"", {Polygon{{BlockRing(layout, block, kInset)}}}};
    if (edge) {
      green.name = stem + (random.Chance(0.5) ? "苗圃" : "森林公园");
    } else if (random.Chance(0.3)) {
      const std::string lake = stem.ends_with("湖") ? stem : stem + "湖";
      green.name = lake + "公园";
      city.waters.push_back({lake, {Polygon{{LakeRing(layout, block, random)}}}});
    } else {
      const double kind = random.Unit();
      green.name = stem + (kind < 0.6 ? "公园" : kind < 0.8 ? "游园" : "植物园");
    }
    names.Claim(green.name);
    city.greens.push_back(std::move(green));
  }
}

}  // namespace citygen
