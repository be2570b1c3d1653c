#include "tools/citygen/Layout.h"

#include <algorithm>
#include <cmath>

#include "tools/citygen/PlaneGeometry.h"

namespace citygen {
namespace {

constexpr double kLatticeStep = 550;  // metres between neighbouring street lines
constexpr int kOldTownLines = 2;      // the ring roads are lattice lines ±2

double OutlineRadius(const Layout& layout, double angle) {
  return layout.radius * (1 + 0.10 * std::sin(2 * angle + layout.outlineWave[0]) +
                          0.06 * std::sin(3 * angle + layout.outlineWave[1]) +
                          0.04 * std::sin(5 * angle + layout.outlineWave[2]));
}

std::vector<LatticeLine> MakeLines(Random& random, int count) {
  std::vector<LatticeLine> lines;
  for (int i = -count; i <= count; ++i) {
    LatticeLine line;
    const bool inOldTown = std::abs(i) <= kOldTownLines;
    line.at = i * kLatticeStep + (inOldTown ? 0 : random.Uniform(-60, 60));
    line.ringRoad = std::abs(i) == kOldTownLines;
    line.roadClass = (i % 4 == 0 || line.ringRoad) ? RoadClass::Main
                     : (i % 2 == 0)                ? RoadClass::Secondary
                                                   : RoadClass::Branch;
    lines.push_back(line);
    if (i < count) {
      const double jitter = std::abs(i) < kOldTownLines ? 0 : random.Uniform(-40, 40);
      lines.push_back({(i + 0.5) * kLatticeStep + jitter, RoadClass::Branch, true, false});
    }
  }
  std::sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) { return a.at < b.at; });
  return lines;
}

// A meandering course from `from` to `to`, swinging about `amplitude` metres to either side with
// bends about `wavelength` metres apart, sampled every `step` metres.
Polyline Meander(Random& random, Vec2 from, Vec2 to, double amplitude, double wavelength, double step) {
  const double length = Distance(from, to);
  const Vec2 along = (to - from) * (1 / length);
  const Vec2 across{-along.y, along.x};
  const double phase1 = random.Uniform(0, 6.28), phase2 = random.Uniform(0, 6.28);
  Polyline line;
  const int pieces = std::max(2, int(length / step));
  for (int k = 0; k <= pieces; ++k) {
    const double s = length * k / pieces;
    const double fade = std::sin(M_PI * k / pieces);  // the ends stay where they were asked to be
    const double offset =
        amplitude * (std::sin(s / wavelength + phase1) + 0.45 * std::sin(2.7 * s / wavelength + phase2)) *
        (0.35 + 0.65 * fade);
    line.push_back(from + along * s + across * offset);
  }
  return line;
}

// Blocks between neighbouring full lattice lines, outside the wall, on dry land inside the city.
std::vector<Block> FreeBlocks(const Layout& layout) {
  std::vector<double> xs, ys;
  for (const auto& line : layout.columns)
    if (!line.lane) xs.push_back(line.at);
  for (const auto& line : layout.rows)
    if (!line.lane) ys.push_back(line.at);
  std::vector<Block> blocks;
  for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
    for (std::size_t j = 0; j + 1 < ys.size(); ++j) {
      const Block block{{xs[i], ys[j]}, {xs[i + 1], ys[j + 1]}};
      const Vec2 corners[4] = {block.min, block.max, {block.min.x, block.max.y}, {block.max.x, block.min.y}};
      const Vec2 centre = Lerp(block.min, block.max, 0.5);
      bool free = !layout.InsideOldTown(centre, -layout.oldTownHalf * 0.1) && !layout.InWater(centre, 120);
      for (const Vec2& corner : corners)
        free = free && layout.InsideOutline(corner) && !layout.InWater(corner, 60);
      if (free) blocks.push_back(block);
    }
  }
  return blocks;
}

std::vector<Block> PickParks(const Layout& layout, Random& random, int scale) {
  std::vector<Block> blocks = FreeBlocks(layout);
  std::vector<Block> parks;
  for (int k = 0; k < 26 * scale && !blocks.empty(); ++k) {
    const std::size_t pick = random.Index(blocks.size());
    parks.push_back(blocks[pick]);
    blocks[pick] = blocks.back();
    blocks.pop_back();
  }
  return parks;
}

}  // namespace

Layout MakeLayout(Random& random, int scale) {
  Layout layout;
  layout.radius = 9500 * std::sqrt(double(scale));
  layout.oldTownHalf = kOldTownLines * kLatticeStep;
  for (auto& w : layout.outlineWave) w = random.Uniform(0, 6.28);
  for (auto& w : layout.warpPhase) w = random.Uniform(0, 6.28);
  const int count = int(std::ceil(layout.radius * 1.25 / kLatticeStep));
  layout.columns = MakeLines(random, count);
  layout.rows = MakeLines(random, count);

  // The river crosses the city from west to east south of the old town; its branch comes down
  // from the north-west and joins it west of the wall.
  const double reach = layout.radius * 1.4;
  const double riverY = -layout.oldTownHalf - 1300;
  layout.river = {Meander(random, {-reach, riverY + 400}, {reach, riverY - 300}, 420, 2600, 90), 65};
  // The branch flows into the river where the river passes west of the old town.
  const Vec2 mouth =
      *std::min_element(layout.river.plan.begin(), layout.river.plan.end(), [&](Vec2 a, Vec2 b) {
        const double x = -layout.oldTownHalf - 1500;
        return std::abs(a.x - x) < std::abs(b.x - x);
      });
  layout.creek = {Meander(random, {-layout.radius * 1.1, layout.radius * 0.75}, mouth, 380, 900, 50), 28};
  layout.parks = PickParks(layout, random, scale);
  return layout;
}

bool Layout::InsideOutline(Vec2 plan) const {
  return std::hypot(plan.x, plan.y) < OutlineRadius(*this, std::atan2(plan.y, plan.x));
}

bool Layout::InsideOldTown(Vec2 plan, double margin) const {
  return std::abs(plan.x) < oldTownHalf - margin && std::abs(plan.y) < oldTownHalf - margin;
}

bool Layout::InPark(Vec2 plan, double margin) const {
  return std::any_of(parks.begin(), parks.end(), [&](const Block& park) {
    return plan.x > park.min.x + margin && plan.x < park.max.x - margin && plan.y > park.min.y + margin &&
           plan.y < park.max.y - margin;
  });
}

double WaterCourse::DistanceWithin(Vec2 point, double limit) const {
  // Runs of a few points are skipped whole when the point is far from their bounding box.
  constexpr std::size_t kRun = 16;
  double best = limit;
  for (std::size_t start = 0; start + 1 < plan.size(); start += kRun) {
    const std::size_t end = std::min(plan.size() - 1, start + kRun);
    double minX = plan[start].x, maxX = minX, minY = plan[start].y, maxY = minY;
    for (std::size_t k = start + 1; k <= end; ++k) {
      minX = std::min(minX, plan[k].x), maxX = std::max(maxX, plan[k].x);
      minY = std::min(minY, plan[k].y), maxY = std::max(maxY, plan[k].y);
    }
    if (point.x < minX - best || point.x > maxX + best || point.y < minY - best || point.y > maxY + best)
      continue;
    for (std::size_t k = start; k < end; ++k)
      best = std::min(best, DistanceToSegment(point, plan[k], plan[k + 1]));
  }
  return best;
}

bool Layout::InWater(Vec2 plan, double margin) const {
  for (const WaterCourse* course : {&river, &creek}) {
    const double reach = course->halfWidth + margin;
    if (course->DistanceWithin(plan, reach) < reach) return true;
  }
  return false;
}

bool Layout::CrossesWater(Vec2 a, Vec2 b) const {
  for (const WaterCourse* course : {&river, &creek}) {
    const Polyline& line = course->plan;
    for (std::size_t k = 1; k < line.size(); ++k) {
      if (SegmentsCross(a, b, line[k - 1], line[k])) return true;
    }
  }
  return false;
}

Vec2 Layout::Warp(Vec2 plan) const {
  const double r = std::hypot(plan.x, plan.y);
  const double t = std::clamp((r - 1600) / 2900, 0.0, 1.0);
  const double weight = t * t * (3 - 2 * t);
  const double dx =
      160 * std::sin(plan.y / 2300 + warpPhase[0]) + 90 * std::sin((plan.x + plan.y) / 3700 + warpPhase[1]);
  const double dy =
      160 * std::sin(plan.x / 2700 + warpPhase[2]) + 90 * std::sin((plan.x - plan.y) / 4100 + warpPhase[3]);
  return {plan.x + weight * dx, plan.y + weight * dy};
}

Ring Layout::Outline() const {
  Ring ring;
  const int pieces = 720;
  for (int k = 0; k < pieces; ++k) {
    const double angle = 2 * M_PI * k / pieces;
    const double r = OutlineRadius(*this, angle);
    ring.push_back(Warp({r * std::cos(angle), r * std::sin(angle)}));
  }
  ring.push_back(ring.front());
  return ring;
}

Polyline WarpDensified(const Layout& layout, const Polyline& plan, double step) {
  Polyline out;
  for (std::size_t k = 0; k < plan.size(); ++k) {
    if (k > 0) {
      const int pieces = std::max(1, int(std::ceil(Distance(plan[k - 1], plan[k]) / step)));
      for (int p = 1; p < pieces; ++p)
        out.push_back(layout.Warp(Lerp(plan[k - 1], plan[k], double(p) / pieces)));
    }
    out.push_back(layout.Warp(plan[k]));
  }
  return out;
}

}  // namespace citygen
