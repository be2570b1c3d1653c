#include "bus/RouteDrawing.h"

#include <algorithm>

#include "bus/PlanRoute.h"
#include "bus/RouteOverlay.h"
#include "data/CityVocabulary.h"
#include "mapwidgets/MapControl.h"

namespace {
const QString kBusTable = city::kBusTable;
const QString kStopLayer = city::layer::kBusStops;

const QColor kFirstLineColor(0x1F, 0x6F, 0xD1);
const QColor kSecondLineColor(0xE0, 0x6C, 0x00);
const QColor kDepartureColor(0x1E, 0x9E, 0x4A);
const QColor kChangeColor(0xE0, 0x6C, 0x00);
const QColor kDestinationColor(0xD0, 0x2B, 0x2B);

constexpr double kMarginShare = 0.15;    // of the route's extent, on each side
constexpr double kLeastViewWidth = 600;  // metres, so a ride of one stop is not shown too close

std::optional<MapPoint> StopPosition(Layer& stops, const QString& name) {
  const int id = stops.IdOfNamedFeature(name);
  if (id == 0) return std::nullopt;
  return stops.FeatureForId(id).Center();
}
}  // namespace

RouteDrawing::RouteDrawing(MapControl& Map1, CityDatabase& database, QObject* parent)
    : QObject(parent), Map1_(Map1), database_(database) {}

void RouteDrawing::NewSearch(const QString& departure, const QString& destination) {
  Clear();
  departure_ = departure;
  destination_ = destination;
}

void RouteDrawing::Clear() {
  departure_.clear();
  destination_.clear();
  if (overlay_) overlay_->Clear();
}

void RouteDrawing::ShowPlanLine(const QString& planLine) {
  const std::vector<RideLeg> legs = ParsePlanLine(planLine, departure_, destination_);
  if (legs.empty()) return;
  MapControl& map = Map1_;
  Layer* stops = map.FindLayer(kStopLayer);
  if (!stops) return;

  std::vector<RoutePath> paths;
  for (std::size_t k = 0; k < legs.size(); ++k) {
    const std::optional<QStringList> lineStops = LineStops(database_, kBusTable, legs[k].line);
    if (!lineStops) return;
    RoutePath path{{}, k == 0 ? kFirstLineColor : kSecondLineColor, Qt::SolidLine};
    for (const QString& name : RiddenStops(*lineStops, legs[k].from, legs[k].to)) {
      if (const auto p = StopPosition(*stops, name)) path.points.push_back(*p);
    }
    if (!path.points.empty()) paths.push_back(std::move(path));
  }
  if (paths.empty()) return;

  std::vector<RouteMark> marks;
  auto mark = [&](const QString& name, const QColor& color) {
    if (const auto p = StopPosition(*stops, name)) marks.push_back({*p, name, color});
  };
  mark(departure_, kDepartureColor);
  if (legs.size() > 1) mark(legs[0].to, kChangeColor);
  mark(destination_, kDestinationColor);

  if (!overlay_) overlay_ = new RouteOverlay(map);
  overlay_->SetRoute(std::move(paths), std::move(marks));

  const MapRect route = overlay_->Extent();
  const double margin = std::max(route.Width(), route.Height()) * kMarginShare;
  const double halfWidth = std::max(route.Width() / 2 + margin, kLeastViewWidth / 2);
  const double halfHeight = std::max(route.Height() / 2 + margin, kLeastViewWidth / 2);
  map.SetBounds({route.CenterX() - halfWidth, route.CenterY() - halfHeight, route.CenterX() + halfWidth,
                 route.CenterY() + halfHeight});
}
