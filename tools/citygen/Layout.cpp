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
    if (i >= -kOldTownLines && i < kOldTownLines) {
      // Lanes of the old town halve the lattice inside the wall.
      lines.push_back({(i + 0.5) * kLatticeStep, RoadClass::Branch, true, false});
    }
  }
  std::sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) { return a.at < b.at; });
  return lines;
}

// A meandering course from `from` to `to`, sampled every `step` metres.
Polyline Meander(Random& random, Vec2 from, Vec2 to, double amplitude, double step) {
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
        amplitude * (std::sin(s / 2600 + phase1) + 0.45 * std::sin(s / 950 + phase2)) * (0.35 + 0.65 * fade);
    line.push_back(from + along * s + across * offset);
  }
  return line;
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
  layout.river = {Meander(random, {-reach, riverY + 400}, {reach, riverY - 300}, 420, 90), 65};
  const Vec2 mouth{-layout.oldTownHalf - 1500, riverY + 250};
  layout.creek = {Meander(random, {-layout.radius * 1.1, layout.radius * 0.75}, mouth, 260, 70), 24};
  return layout;
}

bool Layout::InsideOutline(Vec2 plan) const {
  return std::hypot(plan.x, plan.y) < OutlineRadius(*this, std::atan2(plan.y, plan.x));
}

bool Layout::InsideOldTown(Vec2 plan, double margin) const {
  return std::abs(plan.x) < oldTownHalf - margin && std::abs(plan.y) < oldTownHalf - margin;
}

bool Layout::InWater(Vec2 plan, double margin) const {
  for (const WaterCourse* course : {&river, &creek}) {
    if (DistanceToPolyline(plan, course->plan) < course->halfWidth + margin) return true;
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
  const double dx = 160 * std::sin(plan.y / 2300 + warpPhase[0]) + 90 * std::sin((plan.x + plan.y) / 3700 + warpPhase[1]);
  const double dy = 160 * std::sin(plan.x / 2700 + warpPhase[2]) + 90 * std::sin((plan.x - plan.y) / 4100 + warpPhase[3]);
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
      for (int p = 1; p < pieces; ++p) out.push_back(layout.Warp(Lerp(plan[k - 1], plan[k], double(p) / pieces)));
    }
    out.push_back(layout.Warp(plan[k]));
  }
  return out;
}

}  // namespace citygen
