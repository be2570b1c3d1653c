#include "bus/TripDrawing.h"

#include <algorithm>
#include <optional>

#include "mapwidgets/MapControl.h"

namespace {

const QColor kRideColors[] = {QColor(0x1F, 0x6F, 0xD1), QColor(0xE0, 0x6C, 0x00), QColor(0x7B, 0x3F, 0xB5),
                              QColor(0x00, 0x8C, 0x7A)};
const QColor kWalkColor(0x55, 0x5F, 0x6B);
const QColor kStartColor(0x1E, 0x9E, 0x4A);
const QColor kEndColor(0xD0, 0x2B, 0x2B);

constexpr double kMarginShare = 0.15;    // of the trip's extent, on each side
constexpr double kLeastViewWidth = 600;  // metres

}  // namespace

void DrawTripPlan(RouteOverlay& overlay, MapControl& map, const trip::Index& index, const trip::Plan& plan,
                  const trip::Place& from, const trip::Place& to) {
  const auto& stops = index.Net().stops;
  // Where a leg's end lies: a stop's position, or the trip's start or end.
  auto where = [&](int stop, const trip::Place& end) -> std::optional<MapPoint> {
    if (stop >= 0)
      return stops[std::size_t(stop)].placed ? std::optional(stops[std::size_t(stop)].position)
                                             : std::nullopt;
    return end.placed ? std::optional(end.point) : std::nullopt;
  };
  std::vector<RoutePath> paths;
  std::vector<RouteMark> passed, named;
  int ride = 0;
  for (const trip::Leg& leg : plan.legs) {
    if (leg.mode == trip::Leg::Mode::Walk) {
      const auto a = where(leg.from, from), b = where(leg.to, to);
      if (a && b) paths.push_back({{*a, *b}, kWalkColor, Qt::DashLine});
      continue;
    }
    const QColor color = kRideColors[ride++ % std::size(kRideColors)];
    RoutePath path{{}, color, Qt::SolidLine};
    for (std::size_t i = 0; i < leg.stops.size(); ++i) {
      const trip::Stop& stop = stops[std::size_t(leg.stops[i])];
      if (!stop.placed) continue;
      path.points.push_back(stop.position);
      const bool end = i == 0 || i + 1 == leg.stops.size();
      (end ? named : passed).push_back({stop.position, end ? stop.name : QString(), color});
    }
    if (!path.points.empty()) paths.push_back(std::move(path));
  }
  if (from.placed && from.stop < 0) named.push_back({from.point, QStringLiteral("起点"), kStartColor});
  if (to.placed && to.stop < 0) named.push_back({to.point, QStringLiteral("终点"), kEndColor});
  passed.insert(passed.end(), named.begin(), named.end());
  overlay.SetRoute(std::move(paths), std::move(passed));
  if (overlay.Paths().empty() && overlay.Marks().empty()) return;

  const MapRect trip = overlay.Extent();
  const double margin = std::max(trip.Width(), trip.Height()) * kMarginShare;
  const double halfWidth = std::max(trip.Width() / 2 + margin, kLeastViewWidth / 2);
  const double halfHeight = std::max(trip.Height() / 2 + margin, kLeastViewWidth / 2);
  map.SetBounds({trip.CenterX() - halfWidth, trip.CenterY() - halfHeight, trip.CenterX() + halfWidth,
                 trip.CenterY() + halfHeight});
}
