#pragma once
// What the trip planner's window asks of a city's timetable, behind one interface: the timed search
// of bus/TimedSearch.h for a real city, plans made up by hand in tests.
#include <QDate>
#include <QString>
#include <QTimeZone>
#include <functional>
#include <memory>
#include <vector>

#include "bus/TimedSearch.h"
#include "dataset/Timetable.h"

namespace trip {

class TimedSource {
 public:
  virtual ~TimedSource() = default;
  virtual QTimeZone Zone() const = 0;
  virtual const citygen::Timetable& Table() const = 0;
  virtual std::vector<int> PlatformsNamed(const QString& name) const = 0;
  virtual std::vector<TimedPlan> Search(const TimedQuery& query) const = 0;
  virtual std::vector<Departure> Departures(const std::vector<int>& platforms, QDate day, int seconds,
                                            int windowSeconds) const = 0;
};

// The timetable of the city open now: null for a city without one (error empty) or with one that
// cannot be used (error says why).
using TimedSourceOf = std::function<std::shared_ptr<const TimedSource>(QString& error)>;

}  // namespace trip
