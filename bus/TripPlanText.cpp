#include "bus/TripPlanText.h"

#include <QJsonArray>
#include <algorithm>
#include <cmath>

namespace trip {

namespace {

constexpr double kLargestShown = 1e9;
const QString kBeyondShown = QStringLiteral("超过 1000000000");

QString StopName(const Index& index, int stop) { return index.Net().stops[std::size_t(stop)].name; }

QString EndName(const Index& index, int stop, const Place& end) {
  return stop >= 0 ? StopName(index, stop) : end.label;
}

}  // namespace

double Rounded(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::round(value * scale) / scale;
}

QString MetresText(double metres) {
  return metres < kLargestShown ? QString::number(std::lround(std::max(metres, 0.0))) : kBeyondShown;
}

QString StreetsText(const std::vector<StreetPiece>& streets) {
  QStringList pieces;
  for (const StreetPiece& piece : streets)
    if (const long tens = std::lround(piece.metres / 10); tens > 0)
      pieces << QStringLiteral("沿 %1 步行 %2 米").arg(piece.name).arg(tens * 10);
  return pieces.join(QStringLiteral("，"));
}

void AddWay(QJsonObject& walkLeg, const std::vector<MapPoint>& path,
            const std::vector<StreetPiece>& streets) {
  QJsonArray points, pieces;
  for (const MapPoint& p : path) points.append(QJsonArray{Rounded(p.x, 1), Rounded(p.y, 1)});
  for (const StreetPiece& piece : streets)
    pieces.append(QJsonObject{{"name", piece.name}, {"metres", Rounded(piece.metres, 1)}});
  walkLeg.insert("path", points);
  walkLeg.insert("streets", pieces);
}

QString MinutesText(double minutes) {
  return minutes < kLargestShown ? QString::number(std::max(minutes, 0.0), 'f', 1) : kBeyondShown;
}

QString PlanSummary(const Plan& plan) {
  const QString time = QStringLiteral("用时 %1 分钟").arg(MinutesText(plan.minutes));
  if (plan.rides == 0) return time + QStringLiteral("，全程步行 %1 米").arg(MetresText(plan.walkMetres));
  return time +
         QStringLiteral("，步行 %1 米，换乘 %2 次").arg(MetresText(plan.walkMetres)).arg(plan.Changes());
}

QStringList LegTexts(const Index& index, const Plan& plan, const Place& to) {
  QStringList texts;
  bool ridden = false;
  for (const Leg& leg : plan.legs) {
    if (leg.mode == Leg::Mode::Walk) {
      texts << QStringLiteral("步行 %1 米到 %2").arg(MetresText(leg.metres), EndName(index, leg.to, to));
      if (const QString streets = StreetsText(leg.streets); !streets.isEmpty())
        texts.back() += QStringLiteral("：") + streets;
      continue;
    }
    QStringList names;
    for (int stop : leg.stops) names << StopName(index, stop);
    texts << QStringLiteral("%1乘 %2 从 %3 到 %4，坐 %5 站：%6")
                 .arg(ridden ? QStringLiteral("换乘，") : QString(),
                      index.Net().lines[std::size_t(leg.line)].name, names.front(), names.back(),
                      QString::number(names.size() - 1), names.join(u'、'));
    ridden = true;
  }
  return texts;
}

QString PlanText(const Index& index, const Plan& plan, const Place& to) {
  QString text = PlanSummary(plan) + u'\n';
  const QStringList legs = LegTexts(index, plan, to);
  for (int i = 0; i < legs.size(); ++i) text += QStringLiteral("  %1. %2\n").arg(i + 1).arg(legs[i]);
  return text;
}

QString NoPlanReason(const Index& index, const Place& from, const Place& to, int maxRides) {
  const bool fromStops = from.stop >= 0 || (from.placed && !index.AccessWalks(from.point, nullptr).empty());
  const bool toStops = to.stop >= 0 || (to.placed && !index.AccessWalks(to.point, nullptr).empty());
  if (!fromStops) return QStringLiteral("起点 %1 米内没有车站").arg(kAccessMetres);
  if (!toStops) return QStringLiteral("终点 %1 米内没有车站").arg(kAccessMetres);
  if (maxRides == 0) return QStringLiteral("两地不能步行到达");
  return QStringLiteral("换乘 %1 次以内没有到达的路线").arg(maxRides - 1);
}

QJsonObject PlansJson(const Index& index, const Place& from, const Place& to, const std::vector<Plan>& plans,
                      int maxRides) {
  auto stopOrNull = [&](int stop) { return stop >= 0 ? QJsonValue(StopName(index, stop)) : QJsonValue(); };
  QJsonArray planArray;
  for (const Plan& plan : plans) {
    QJsonArray legs;
    double walked = 0;
    for (const Leg& leg : plan.legs) {
      if (leg.mode == Leg::Mode::Walk) {
        const double metres = Rounded(leg.metres, 1);
        walked += metres;
        QJsonObject walkLeg{
            {"mode", "walk"}, {"from", stopOrNull(leg.from)}, {"to", stopOrNull(leg.to)}, {"metres", metres}};
        AddWay(walkLeg, leg.path, leg.streets);
        legs.append(walkLeg);
        continue;
      }
      QJsonArray stops;
      for (int stop : leg.stops) stops.append(StopName(index, stop));
      legs.append(QJsonObject{{"mode", "ride"},
                              {"line", index.Net().lines[std::size_t(leg.line)].name},
                              {"from", StopName(index, leg.from)},
                              {"to", StopName(index, leg.to)},
                              {"stops", stops}});
    }
    planArray.append(QJsonObject{{"minutes", Rounded(plan.minutes, 2)},
                                 {"walk_metres", Rounded(walked, 1)},
                                 {"changes", plan.Changes()},
                                 {"legs", legs}});
  }
  QJsonObject json{{"from", from.label}, {"to", to.label}, {"plans", planArray}};
  if (plans.empty()) json.insert("reason", NoPlanReason(index, from, to, maxRides));
  return json;
}

}  // namespace trip
