#include "tests/support/TimetableOracle.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>

namespace {
double Straight(citygen::Vec2 a, MapPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

qint64 NoonMinus12(const QTimeZone& zone, QDate day) {
  return QDateTime(day, QTime(12, 0), zone).toSecsSinceEpoch() - 12 * 3600;
}
}  // namespace

int TimetableOracle::WalkSeconds(double straight) {
  // metres × 1.3 / (4500 m / 3600 s), rounded up
  return int(std::ceil(straight * 1.3 * 3600 / 4500 - 1e-9));
}

TimetableOracle::TimetableOracle(const citygen::Timetable& table)
    : table_(table), zone_(QByteArray::fromStdString(table.timeZone)) {
  const auto& platforms = table_.platforms;
  changes_.resize(platforms.size());
  for (std::size_t p = 0; p < platforms.size(); ++p) {
    changes_[p].push_back({int(p), 0});
    if (!platforms[p].placed) continue;
    for (std::size_t q = 0; q < platforms.size(); ++q) {
      const double d = Straight(platforms[p].at, {platforms[q].at.x, platforms[q].at.y});
      if (q != p && platforms[q].placed && d <= trip::kTransferMetres)
        changes_[p].push_back({int(q), WalkSeconds(d)});
    }
  }
}

bool TimetableOracle::Runs(const std::string& service, QDate day) const {
  for (const citygen::Service& s : table_.services) {
    if (s.id != service) continue;
    const QString date = day.toString(QStringLiteral("yyyyMMdd"));
    bool runs = s.hasCalendar && date >= QString::fromStdString(s.startDate) &&
                date <= QString::fromStdString(s.endDate) && s.weekdays[day.dayOfWeek() - 1];
    for (const auto& [when, type] : s.exceptions)
      if (QString::fromStdString(when) == date) runs = type == 1;
    return runs;
  }
  return false;
}

const TimetableOracle::Day& TimetableOracle::DayOf(QDate day) const {
  auto found = days_.find(day);
  if (found != days_.end()) return found->second;
  Day& d = days_[day];
  for (int shift = -1; shift <= 1; ++shift) {
    const QDate date = day.addDays(shift);
    const int offset = int(NoonMinus12(zone_, date) - NoonMinus12(zone_, day));
    for (int t = 0; t < int(table_.trips.size()); ++t) {
      const citygen::Trip& trip = table_.trips[t];
      if (trip.calls.size() < 2 || !Runs(trip.service, date)) continue;
      std::vector<int> starts;  // the runs' shifts from the trip's own times
      bool byFrequency = false;
      for (const citygen::Frequency& f : table_.frequencies) {
        if (f.trip != trip.id) continue;
        byFrequency = true;
        for (int s = f.start; s < f.end; s += f.headway) starts.push_back(s - trip.calls.front().departure);
      }
      if (!byFrequency) starts.push_back(0);
      for (int start : starts) {
        const int run = int(d.runs.size());
        d.runs.push_back({t});
        for (int i = 0; i + 1 < int(trip.calls.size()); ++i)
          d.connections.push_back(
              {trip.calls[i].departure + start + offset, trip.calls[i + 1].arrival + start + offset, run, i});
      }
    }
  }
  std::sort(d.connections.begin(), d.connections.end(), [](const Connection& a, const Connection& b) {
    return std::tie(a.depart, a.run, a.call) < std::tie(b.depart, b.run, b.call);
  });
  return d;
}

std::vector<std::pair<int, int>> TimetableOracle::Walks(const trip::TimedEnd& end) const {
  std::vector<std::pair<int, int>> walks;
  for (std::size_t p = 0; p < table_.platforms.size(); ++p) {
    int best = kNone;
    if (std::find(end.platforms.begin(), end.platforms.end(), int(p)) != end.platforms.end()) best = 0;
    const citygen::Platform& platform = table_.platforms[p];
    if (end.placed && platform.placed && Straight(platform.at, end.point) <= trip::kAccessMetres)
      best = std::min(best, WalkSeconds(Straight(platform.at, end.point)));
    if (best < kNone) walks.push_back({int(p), best});
  }
  return walks;
}

TimetableOracle::Times TimetableOracle::EarliestArrivals(const trip::TimedEnd& from, const trip::TimedEnd& to,
                                                         QDate day, int seconds) const {
  constexpr int R = trip::kMaxRides;
  Times best;
  best.fill(kNone);
  if (from.placed && to.placed)
    best[0] = seconds + WalkSeconds(std::hypot(from.point.x - to.point.x, from.point.y - to.point.y));
  const std::size_t platforms = table_.platforms.size();
  std::vector<std::vector<int>> ready(R + 1, std::vector<int>(platforms, kNone));  // exactly k rides
  std::vector<std::vector<int>> arrived(R + 1, std::vector<int>(platforms, kNone));
  for (const auto& [p, s] : Walks(from)) ready[0][p] = seconds + s;
  std::vector<int> egress(platforms, kNone);
  for (const auto& [p, s] : Walks(to)) egress[p] = s;

  const Day& d = DayOf(day);
  std::vector<std::vector<char>> seated(R + 1, std::vector<char>(d.runs.size(), 0));
  auto c = std::lower_bound(d.connections.begin(), d.connections.end(), seconds,
                            [](const Connection& x, int t) { return x.depart < t; });
  for (; c != d.connections.end(); ++c) {
    const citygen::Trip& trip = table_.trips[d.runs[c->run].trip];
    const citygen::Call& here = trip.calls[c->call];
    const citygen::Call& next = trip.calls[c->call + 1];
    for (int k = R; k >= 1; --k) {
      if (!seated[k][c->run] && here.pickup != 1 && ready[k - 1][here.platform] <= c->depart)
        seated[k][c->run] = 1;
      if (!seated[k][c->run] || next.dropOff == 1 || c->arrive >= arrived[k][next.platform]) continue;
      arrived[k][next.platform] = c->arrive;
      if (egress[next.platform] < kNone) best[k] = std::min(best[k], c->arrive + egress[next.platform]);
      for (const auto& [q, walk] : changes_[next.platform])
        ready[k][q] = std::min(ready[k][q], c->arrive + walk + trip::kChangeSeconds);
    }
  }
  return best;
}

TimetableOracle::Times TimetableOracle::LatestDepartures(const trip::TimedEnd& from, const trip::TimedEnd& to,
                                                         QDate day, int seconds, int span) const {
  Times latest;
  for (int r = 0; r <= trip::kMaxRides; ++r) {
    int lo = seconds - span, hi = seconds;  // the answer lies in [lo, hi] when there is one
    if (EarliestArrivals(from, to, day, lo)[r] > seconds) {
      latest[r] = -kNone;
      continue;
    }
    while (lo < hi) {
      const int mid = lo + (hi - lo + 1) / 2;
      if (EarliestArrivals(from, to, day, mid)[r] <= seconds)
        lo = mid;
      else
        hi = mid - 1;
    }
    latest[r] = lo;
  }
  return latest;
}
