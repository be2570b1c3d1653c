#pragma once
// Bridges between the plain geometry of City.h and OGR geometries, for the few operations that
// need GEOS: buffers, unions, intersections and differences of areas. Every function returns a
// new geometry that the caller owns.
#include <ogr_geometry.h>

#include <memory>
#include <vector>

#include "dataset/City.h"

namespace citygen {

using Shape = std::unique_ptr<OGRGeometry>;

Shape MakeLine(const Polyline& line);
Shape MakeRing(const Ring& outer);  // a polygon without holes
Shape MakeRectangle(Vec2 min, Vec2 max);
// The area within `distance` metres of the line.
Shape Buffer(const OGRGeometry& shape, double distance);
Shape Intersect(const OGRGeometry& a, const OGRGeometry& b);
Shape Subtract(const OGRGeometry& a, const OGRGeometry& b);
Shape Unite(const OGRGeometry& a, const OGRGeometry& b);

// The polygons or lines of a geometry of any kind (collections are flattened).
std::vector<Polygon> PolygonsOf(const OGRGeometry& shape);
std::vector<Polyline> LinesOf(const OGRGeometry& shape);

// OGR geometries of the model's shapes, shifted by `origin` (the map CRS's false origin).
std::unique_ptr<OGRMultiPolygon> ToMultiPolygon(const std::vector<Polygon>& parts, Vec2 origin);
std::unique_ptr<OGRMultiLineString> ToMultiLine(const std::vector<Polyline>& parts, Vec2 origin);
std::unique_ptr<OGRLineString> ToLine(const Polyline& line, Vec2 origin);

}  // namespace citygen
