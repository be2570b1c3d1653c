#include "bus/TripDrawing.h"

#include <algorithm>
#include <functional>
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

// A stop on the way as the drawing sees it.
struct StopPoint {
  bool placed = false;
  MapPoint position;
  QString name;
};

// Collects a plan's walks and rides, then shows them and fits the view.
class TripPicture {
 public:
  TripPicture(const trip::Place& from, const trip::Place& to) : from_(from), to_(to) {}

  // A walk between two stops (stop -1: the trip's start, or its end), along its path when it has one.
  void Walk(int fromStop, int toStop, const std::vector<MapPoint>& path,
            const std::function<StopPoint(int)>& stopAt) {
    if (path.size() >= 2) {
      paths_.push_back({path, kWalkColor, Qt::DashLine});
      return;
    }
    const auto a = Where(fromStop, from_, stopAt), b = Where(toStop, to_, stopAt);
    if (a && b) paths_.push_back({{*a, *b}, kWalkColor, Qt::DashLine});
  }

  void Ride(const std::vector<StopPoint>& stops) {
    const QColor color = kRideColors[ride_++ % std::size(kRideColors)];
    RoutePath path{{}, color, Qt::SolidLine};
    for (std::size_t i = 0; i < stops.size(); ++i) {
      if (!stops[i].placed) continue;
      path.points.push_back(stops[i].position);
      const bool end = i == 0 || i + 1 == stops.size();
      (end ? named_ : passed_).push_back({stops[i].position, end ? stops[i].name : QString(), color});
    }
    if (!path.points.empty()) paths_.push_back(std::move(path));
  }

  void Show(RouteOverlay& overlay, MapControl& map) {
    if (from_.placed && from_.stop < 0) named_.push_back({from_.point, QStringLiteral("起点"), kStartColor});
    if (to_.placed && to_.stop < 0) named_.push_back({to_.point, QStringLiteral("终点"), kEndColor});
    passed_.insert(passed_.end(), named_.begin(), named_.end());
    overlay.SetRoute(std::move(paths_), std::move(passed_));
    if (overlay.Paths().empty() && overlay.Marks().empty()) return;

    const MapRect trip = overlay.Extent();
    const double margin = std::max(trip.Width(), trip.Height()) * kMarginShare;
    const double halfWidth = std::max(trip.Width() / 2 + margin, kLeastViewWidth / 2);
    const double halfHeight = std::max(trip.Height() / 2 + margin, kLeastViewWidth / 2);
    map.SetBounds({trip.CenterX() - halfWidth, trip.CenterY() - halfHeight, trip.CenterX() + halfWidth,
                   trip.CenterY() + halfHeight});
  }

 private:
  static std::optional<MapPoint> Where(int stop, const trip::Place& end,
                                       const std::function<StopPoint(int)>& stopAt) {
    if (stop < 0) return end.placed ? std::optional(end.point) : std::nullopt;
    const StopPoint point = stopAt(stop);
    return point.placed ? std::optional(point.position) : std::nullopt;
  }

  const trip::Place& from_;
  const trip::Place& to_;
  std::vector<RoutePath> paths_;
  std::vector<RouteMark> passed_, named_;
  int ride_ = 0;
};

}  // namespace

void DrawTripPlan(RouteOverlay& overlay, MapControl& map, const trip::Index& index, const trip::Plan& plan,
                  const trip::Place& from, const trip::Place& to) {
  const auto stopAt = [&](int stop) {
    const trip::Stop& s = index.Net().stops[std::size_t(stop)];
    return StopPoint{s.placed, s.position, s.name};
  };
  TripPicture picture(from, to);
  for (const trip::Leg& leg : plan.legs) {
    if (leg.mode == trip::Leg::Mode::Walk) {
      picture.Walk(leg.from, leg.to, leg.path, stopAt);
      continue;
    }
    std::vector<StopPoint> stops;
    for (int stop : leg.stops) stops.push_back(stopAt(stop));
    picture.Ride(stops);
  }
  picture.Show(overlay, map);
}

void DrawTimedPlan(RouteOverlay& overlay, MapControl& map, const citygen::Timetable& table,
                   const trip::TimedPlan& plan, const trip::Place& from, const trip::Place& to) {
  const auto stopAt = [&](int platform) {
    const citygen::Platform& p = table.platforms[std::size_t(platform)];
    return StopPoint{p.placed, {p.at.x, p.at.y}, QString::fromStdString(p.name)};
  };
  TripPicture picture(from, to);
  for (const trip::TimedLeg& leg : plan.legs) {
    if (leg.mode == trip::Leg::Mode::Walk) {
      picture.Walk(leg.fromPlatform, leg.toPlatform, leg.path, stopAt);
      continue;
    }
    const std::vector<citygen::Call>& calls = table.trips[std::size_t(leg.trip)].calls;
    std::vector<StopPoint> stops;
    for (int call = leg.boardCall; call <= leg.alightCall; ++call)
      stops.push_back(stopAt(calls[std::size_t(call)].platform));
    picture.Ride(stops);
  }
  picture.Show(overlay, map);
}
