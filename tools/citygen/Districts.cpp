#include <algorithm>
#include <cmath>

#include "dataset/Shapes.h"
#include "tools/citygen/Landscape.h"

namespace citygen {
namespace {

// A wavy border running out from the centre at about `angle`, to well beyond the city's edge.
// Beyond that edge it runs straight, so that the wedges between rays close cleanly.
struct Ray {
  Polyline line;
  double endAngle = 0;
};

Ray MakeRay(const Layout& layout, double angle, double wiggle, Random& random) {
  const double phase1 = random.Uniform(0, 6.28), phase2 = random.Uniform(0, 6.28);
  Ray ray;
  for (double r = 0; r <= layout.radius * 1.6; r += 150) {
    const double wave = std::min(r, layout.radius * 1.3);
    ray.endAngle =
        angle + wiggle * (0.7 * std::sin(wave / 1700 + phase1) + 0.3 * std::sin(wave / 600 + phase2));
    ray.line.push_back(layout.Warp({r * std::cos(ray.endAngle), r * std::sin(ray.endAngle)}));
  }
  return ray;
}

// The wedge between two rays, closed by an arc beyond the city's edge.
Ring Wedge(const Layout& layout, const Ray& first, const Ray& second) {
  Ring wedge = first.line;
  const double r = std::hypot(first.line.back().x, first.line.back().y);
  const double turn = std::remainder(second.endAngle - first.endAngle, 2 * M_PI);
  const double sweep = turn > 0 ? turn : turn + 2 * M_PI;
  for (int k = 1; k < 32; ++k) {
    const double a = first.endAngle + sweep * k / 32;
    wedge.push_back(layout.Warp({r * std::cos(a), r * std::sin(a)}));
  }
  wedge.insert(wedge.end(), second.line.rbegin(), second.line.rend());
  return wedge;
}

double AngleDistance(double a, double b) { return std::abs(std::remainder(a - b, 2 * M_PI)); }

}  // namespace

void BuildDistricts(const Layout& layout, NameBook& names, City& city) {
  Random random = names.random().Fork(2);
  const Shape outline = MakeRing(layout.Outline());
  const double half = layout.oldTownHalf;
  const Shape oldTown = MakeRectangle({-half, -half}, {half, half});
  const Shape land = Subtract(*outline, *oldTown);

  const int wedges = int(std::lround(6 * std::sqrt(std::pow(layout.radius / 9500, 2))));
  const double width = 2 * M_PI / wedges;
  const double start = random.Uniform(0, width);
  std::vector<Ray> rays;
  for (int k = 0; k < wedges; ++k) rays.push_back(MakeRay(layout, start + k * width, width * 0.16, random));

  // The wedge that faces south lies beyond the river, the one facing east holds the new town.
  int south = 0, east = 0;
  for (int k = 0; k < wedges; ++k) {
    const double middle = start + (k + 0.5) * width;
    if (AngleDistance(middle, -M_PI / 2) < AngleDistance(start + (south + 0.5) * width, -M_PI / 2)) south = k;
    if (AngleDistance(middle, 0) < AngleDistance(start + (east + 0.5) * width, 0)) east = k;
  }
  city.districts.push_back({"古城区", PolygonsOf(*oldTown)});
  for (int k = 0; k < wedges; ++k) {
    const Ring wedge = Wedge(layout, rays[k], rays[(k + 1) % wedges]);
    const std::string name = k == south ? "江南区" : k == east ? "高新区" : names.Stem() + "区";
    names.Claim(name);
    city.districts.push_back({name, PolygonsOf(*Intersect(*MakeRing(wedge), *land))});
  }

  for (int k = 0; k < wedges; ++k) {
    const std::string& left = city.districts[1 + (k + wedges - 1) % wedges].name;
    const std::string& right = city.districts[1 + k].name;
    const Shape border = Intersect(*MakeLine(rays[k].line), *land);
    city.districtBorders.push_back({left + "—" + right + "界", LinesOf(*border)});
  }
  city.districtBorders.push_back(
      {"古城区界", {Ring{{-half, -half}, {half, -half}, {half, half}, {-half, half}, {-half, -half}}}});
  city.districtBorders.push_back({city.name + "界", {layout.Outline()}});
}

}  // namespace citygen
