#include "dataset/Shapes.h"

namespace citygen {
namespace {

OGRLinearRing* NewRing(const Ring& ring, Vec2 origin) {
  auto* out = new OGRLinearRing;
  out->setNumPoints(int(ring.size()), false);
  for (std::size_t k = 0; k < ring.size(); ++k)
    out->setPoint(int(k), ring[k].x + origin.x, ring[k].y + origin.y);
  out->closeRings();
  return out;
}

Polyline PointsOf(const OGRSimpleCurve& curve) {
  Polyline out(curve.getNumPoints());
  for (int k = 0; k < curve.getNumPoints(); ++k) out[k] = {curve.getX(k), curve.getY(k)};
  return out;
}

Shape Own(OGRGeometry* shape) { return Shape(shape ? shape : new OGRGeometryCollection); }

}  // namespace

Shape MakeLine(const Polyline& line) { return ToLine(line, {}); }

Shape MakeRing(const Ring& outer) {
  auto polygon = std::make_unique<OGRPolygon>();
  polygon->addRingDirectly(NewRing(outer, {}));
  return polygon;
}

Shape MakeRectangle(Vec2 min, Vec2 max) { return MakeRing({min, {max.x, min.y}, max, {min.x, max.y}, min}); }

Shape Buffer(const OGRGeometry& shape, double distance) { return Own(shape.Buffer(distance, 8)); }
Shape Intersect(const OGRGeometry& a, const OGRGeometry& b) { return Own(a.Intersection(&b)); }
Shape Subtract(const OGRGeometry& a, const OGRGeometry& b) { return Own(a.Difference(&b)); }
Shape Unite(const OGRGeometry& a, const OGRGeometry& b) { return Own(a.Union(&b)); }

std::vector<Polygon> PolygonsOf(const OGRGeometry& shape) {
  std::vector<Polygon> out;
  const OGRwkbGeometryType type = wkbFlatten(shape.getGeometryType());
  if (type == wkbPolygon) {
    const auto& polygon = *shape.toPolygon();
    Polygon part;
    for (const OGRLinearRing* ring : polygon) part.rings.push_back(PointsOf(*ring));
    if (!part.rings.empty()) out.push_back(std::move(part));
  } else if (OGR_GT_IsSubClassOf(type, wkbGeometryCollection)) {
    for (const OGRGeometry* member : *shape.toGeometryCollection()) {
      for (auto& part : PolygonsOf(*member)) out.push_back(std::move(part));
    }
  }
  return out;
}

std::vector<Polyline> LinesOf(const OGRGeometry& shape) {
  std::vector<Polyline> out;
  const OGRwkbGeometryType type = wkbFlatten(shape.getGeometryType());
  if (type == wkbLineString) {
    out.push_back(PointsOf(*shape.toLineString()));
  } else if (OGR_GT_IsSubClassOf(type, wkbGeometryCollection)) {
    for (const OGRGeometry* member : *shape.toGeometryCollection()) {
      for (auto& line : LinesOf(*member)) out.push_back(std::move(line));
    }
  }
  return out;
}

std::unique_ptr<OGRMultiPolygon> ToMultiPolygon(const std::vector<Polygon>& parts, Vec2 origin) {
  auto out = std::make_unique<OGRMultiPolygon>();
  for (const Polygon& part : parts) {
    auto* polygon = new OGRPolygon;
    for (const Ring& ring : part.rings) polygon->addRingDirectly(NewRing(ring, origin));
    out->addGeometryDirectly(polygon);
  }
  return out;
}

std::unique_ptr<OGRMultiLineString> ToMultiLine(const std::vector<Polyline>& parts, Vec2 origin) {
  auto out = std::make_unique<OGRMultiLineString>();
  for (const Polyline& part : parts) out->addGeometryDirectly(ToLine(part, origin).release());
  return out;
}

std::unique_ptr<OGRLineString> ToLine(const Polyline& line, Vec2 origin) {
  auto out = std::make_unique<OGRLineString>();
  out->setNumPoints(int(line.size()), false);
  for (std::size_t k = 0; k < line.size(); ++k)
    out->setPoint(int(k), line[k].x + origin.x, line[k].y + origin.y);
  return out;
}

}  // namespace citygen
