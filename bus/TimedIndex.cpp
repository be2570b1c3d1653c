#include "bus/TimedIndex.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

#include "data/TextCollation.h"

namespace trip {

namespace {

qint64 JulianDay(const std::string& yyyymmdd) {
  const QDate date = QDate::fromString(QString::fromStdString(yyyymmdd), QStringLiteral("yyyyMMdd"));
  return date.isValid() ? date.toJulianDay() : 0;
}

// One run of a trip: the trip itself, or one departure of its frequency, its times shifted.
struct Run {
  int trip = -1;
  std::int32_t shift = 0;
};

// A run's times at call i: arrival, departure.
std::pair<std::int32_t, std::int32_t> TimesOf(const citygen::Timetable& table, const Run& run, int i) {
  const citygen::Call& call = table.trips[run.trip].calls[i];
  return {call.arrival + run.shift, call.departure + run.shift};
}

// Whether run b never gets ahead of run a at any call (both of one stop pattern).
bool NeverAhead(const citygen::Timetable& table, const Run& a, const Run& b) {
  const int n = int(table.trips[a.trip].calls.size());
  for (int i = 0; i < n; ++i) {
    const auto [aa, ad] = TimesOf(table, a, i);
    const auto [ba, bd] = TimesOf(table, b, i);
    if (ba < aa || bd < ad) return false;
  }
  return true;
}

}  // namespace

int WalkedSeconds(double walked) { return int(std::ceil(walked / kWalkMetresPerMinute * 60 - 1e-9)); }

int WalkSeconds(double straight) { return WalkedSeconds(WalkedMetres(straight)); }

TimedIndex::TimedIndex(citygen::Timetable timetable, QTimeZone zone, std::span<const walk::Street> streets)
    : table_(std::move(timetable)), zone_(std::move(zone)) {
  for (int p = 0; p < PlatformCount(); ++p) {
    const QString name = QString::fromStdString(table_.platforms[p].name);
    byName_[name].push_back(p);
    byFoldedName_[FoldLatinCase(name)].push_back(p);
  }
  for (const citygen::Service& s : table_.services) {
    ServiceDays& days = services_.emplace_back();
    if (s.hasCalendar) {
      days.weekdays = s.weekdays;
      days.first = JulianDay(s.startDate);
      days.last = JulianDay(s.endDate);
    }
    for (const auto& [date, type] : s.exceptions) days.exceptions.push_back({JulianDay(date), type == 1});
    std::stable_sort(days.exceptions.begin(), days.exceptions.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
  }
  BuildRoutes();
  BuildWalks(streets);
}

std::span<const int> TimedIndex::PlatformsNamed(const QString& name) const {
  auto exact = byName_.constFind(name);
  if (exact == byName_.cend()) exact = byFoldedName_.constFind(FoldLatinCase(name));
  if (exact == byName_.cend() || exact == byFoldedName_.cend()) return {};
  return *exact;
}

void TimedIndex::BuildRoutes() {
  QHash<QString, int> serviceIndex;
  for (int s = 0; s < int(table_.services.size()); ++s)
    serviceIndex.insert(QString::fromStdString(table_.services[s].id), s);
  std::unordered_map<std::string, std::vector<const citygen::Frequency*>> frequencies;
  for (const citygen::Frequency& f : table_.frequencies) frequencies[f.trip].push_back(&f);

  // Runs grouped by stop pattern: the platforms called at and where boarding or leaving is refused.
  std::map<std::vector<int>, std::vector<Run>> patterns;
  std::vector<int> key;
  for (int t = 0; t < int(table_.trips.size()); ++t) {
    const citygen::Trip& trip = table_.trips[t];
    if (trip.calls.size() < 2) continue;
    key.clear();
    for (const citygen::Call& c : trip.calls)
      key.push_back(c.platform * 4 + (c.pickup == 1 ? 2 : 0) + (c.dropOff == 1 ? 1 : 0));
    std::vector<Run>& runs = patterns[key];
    const auto f = frequencies.find(trip.id);
    if (f == frequencies.end()) {
      runs.push_back({t, 0});
      continue;
    }
    for (const citygen::Frequency* freq : f->second)
      for (std::int32_t start = freq->start; freq->headway > 0 && start < freq->end; start += freq->headway)
        runs.push_back({t, start - trip.calls.front().departure});
  }

  std::vector<std::vector<RouteCall>> through(table_.platforms.size());
  for (auto& [pattern, runs] : patterns) {
    std::sort(runs.begin(), runs.end(), [&](const Run& a, const Run& b) {
      const int n = int(pattern.size());
      for (int i = 0; i < n; ++i)
        if (TimesOf(table_, a, i) != TimesOf(table_, b, i))
          return TimesOf(table_, a, i) < TimesOf(table_, b, i);
      return a.trip < b.trip;
    });
    // Runs that overtake one another go to routes of their own: a route's runs keep their order.
    std::vector<std::vector<Run>> fifo;
    for (const Run& run : runs) {
      auto fits = std::find_if(fifo.begin(), fifo.end(),
                               [&](const std::vector<Run>& r) { return NeverAhead(table_, r.back(), run); });
      if (fits == fifo.end()) fits = fifo.insert(fifo.end(), std::vector<Run>());
      fits->push_back(run);
    }
    for (const std::vector<Run>& route : fifo) {
      TimedRoute r;
      r.stopCount = int(pattern.size());
      r.tripCount = int(route.size());
      r.stopsBegin = std::uint32_t(routeStops_.size());
      r.tripsBegin = std::uint32_t(runTrip_.size());
      r.timesBegin = std::uint32_t(arrival_.size());
      for (int i = 0; i < r.stopCount; ++i) {
        routeStops_.push_back(pattern[i] / 4);
        rules_.push_back(
            std::uint8_t(((pattern[i] & 2) == 0 ? kBoards : 0) | ((pattern[i] & 1) == 0 ? kAlights : 0)));
        through[pattern[i] / 4].push_back({int(routes_.size()), i});
      }
      for (const Run& run : route) {
        const std::string& service = table_.trips[run.trip].service;
        runTrip_.push_back(run.trip);
        runService_.push_back(serviceIndex.value(QString::fromStdString(service), -1));
        for (int i = 0; i < r.stopCount; ++i) {
          const auto [a, d] = TimesOf(table_, run, i);
          arrival_.push_back(a);
          departure_.push_back(d);
        }
      }
      routes_.push_back(r);
    }
  }
  routesBegin_.assign(1, 0);
  for (auto& list : through) {
    routesThrough_.insert(routesThrough_.end(), list.begin(), list.end());
    routesBegin_.push_back(std::uint32_t(routesThrough_.size()));
  }
}

std::int64_t TimedIndex::CellOf(double x, double y) const {
  const auto cell = [](double v) {
    const double c = std::floor(v / kAccessMetres);
    return std::int64_t(std::isfinite(c) ? std::clamp(c, -2147483648.0, 2147483647.0) : 0.0);
  };
  return (cell(x) << 32) ^ (cell(y) & 0xFFFFFFFF);
}

void TimedIndex::BuildWalks(std::span<const walk::Street> streets) {
  const auto& platforms = table_.platforms;
  std::vector<int> placed;
  std::vector<MapPoint> points;
  for (int p = 0; p < PlatformCount(); ++p)
    if (platforms[p].placed) {
      grid_[CellOf(platforms[p].at.x, platforms[p].at.y)].push_back(p);
      placed.push_back(p);
      points.push_back({platforms[p].at.x, platforms[p].at.y});
    }
  transfersBegin_.assign(1, 0);
  streets_ = StreetWalks::Make(streets, placed, std::move(points));
  if (streets_) {
    const std::vector<std::vector<PlaceWalk>> changes = streets_->Changes();
    std::size_t place = 0;
    for (int p = 0; p < PlatformCount(); ++p) {
      if (platforms[p].placed)
        for (const PlaceWalk& w : changes[place++])
          transfers_.push_back({w.id, WalkedSeconds(w.metres), w.metres});
      transfersBegin_.push_back(std::uint32_t(transfers_.size()));
    }
    return;
  }
  for (int p = 0; p < PlatformCount(); ++p) {
    if (platforms[p].placed)
      for (const Walk& w : PlatformsNear({platforms[p].at.x, platforms[p].at.y}))
        if (w.platform != p && w.metres <= WalkedMetres(kTransferMetres)) transfers_.push_back(w);
    transfersBegin_.push_back(std::uint32_t(transfers_.size()));
  }
}

std::vector<TimedIndex::Walk> TimedIndex::AccessWalks(MapPoint p, walk::Walker* walker) const {
  if (!streets_) return PlatformsNear(p);
  std::optional<walk::Walker> own;
  if (!walker) walker = &own.emplace(streets_->Network());
  std::vector<Walk> walks;
  for (const PlaceWalk& w : streets_->Access(p, *walker))
    walks.push_back({w.id, WalkedSeconds(w.metres), w.metres});
  return walks;
}

std::vector<TimedIndex::Walk> TimedIndex::PlatformsNear(MapPoint p) const {
  std::vector<Walk> near;
  const double cx = std::floor(p.x / kAccessMetres), cy = std::floor(p.y / kAccessMetres);
  for (int dx = -1; dx <= 1; ++dx) {
    for (int dy = -1; dy <= 1; ++dy) {
      const auto cell = grid_.find(CellOf((cx + dx + 0.5) * kAccessMetres, (cy + dy + 0.5) * kAccessMetres));
      if (cell == grid_.end()) continue;
      for (int q : cell->second) {
        const citygen::Vec2 at = table_.platforms[q].at;
        const double straight = std::hypot(p.x - at.x, p.y - at.y);
        if (straight <= kAccessMetres) near.push_back({q, WalkSeconds(straight), WalkedMetres(straight)});
      }
    }
  }
  std::sort(near.begin(), near.end(), [](const Walk& a, const Walk& b) { return a.platform < b.platform; });
  return near;
}

bool TimedIndex::RunsOn(int service, QDate day) const {
  if (service < 0) return false;
  const ServiceDays& s = services_[service];
  const qint64 jd = day.toJulianDay();
  bool runs = jd >= s.first && jd <= s.last && s.weekdays[day.dayOfWeek() - 1];
  const auto e = std::lower_bound(s.exceptions.begin(), s.exceptions.end(), jd,
                                  [](const auto& x, qint64 d) { return x.first < d; });
  for (auto it = e; it != s.exceptions.end() && it->first == jd; ++it) runs = it->second;
  return runs;
}

std::int64_t TimedIndex::DayOffset(QDate from, QDate to) const {
  const auto start = [&](QDate d) {
    return QDateTime(d, QTime(12, 0), zone_).toSecsSinceEpoch() - 12 * 3600;
  };
  return start(to) - start(from);
}

std::size_t TimedIndex::MemoryBytes() const {
  std::size_t bytes = sizeof(*this);
  for (const citygen::Platform& p : table_.platforms)
    bytes += sizeof(p) + p.id.capacity() + p.name.capacity();
  for (const citygen::Trip& t : table_.trips)
    bytes += sizeof(t) + t.id.capacity() + t.line.capacity() + t.service.capacity() + t.headsign.capacity() +
             t.calls.capacity() * sizeof(citygen::Call);
  for (const citygen::Service& s : table_.services) bytes += sizeof(s) + s.exceptions.capacity() * 48;
  bytes += table_.frequencies.capacity() * sizeof(citygen::Frequency);
  bytes += std::size_t(byName_.capacity() + byFoldedName_.capacity()) * 64 + 2 * table_.platforms.size() * 40;
  for (const ServiceDays& s : services_) bytes += sizeof(s) + s.exceptions.capacity() * 16;
  bytes += routes_.capacity() * sizeof(TimedRoute) + routeStops_.capacity() * sizeof(int);
  bytes += rules_.capacity();
  bytes += (arrival_.capacity() + departure_.capacity()) * sizeof(std::int32_t);
  bytes += (runTrip_.capacity() + runService_.capacity()) * sizeof(int);
  bytes += (routesBegin_.capacity() + transfersBegin_.capacity()) * sizeof(std::uint32_t);
  bytes += routesThrough_.capacity() * sizeof(RouteCall) + transfers_.capacity() * sizeof(Walk);
  for (const auto& [cell, list] : grid_)
    bytes += sizeof(cell) + sizeof(list) + list.capacity() * sizeof(int) + 16;
  if (streets_) bytes += streets_->MemoryBytes();
  return bytes;
}

}  // namespace trip
