#pragma once
// Trips by the clock: plans over a city's timetable (dataset/Timetable.h) for a departure or an
// arrival time, or every plan for departures within a window, and the next departures at a
// stop. The model: docs/trip-planner.md. Times are seconds after "noon minus 12 h" of the query's
// service day; a plan's times may pass 24:00 or lie before 0 (the day before).
#include <QDate>
#include <QString>
#include <QTime>
#include <QTimeZone>
#include <memory>
#include <vector>

#include "bus/TimedIndex.h"
#include "bus/TripModel.h"
#include "dataset/Timetable.h"
#include "map/MapTypes.h"

namespace trip {

// The timetable prepared for searches, once per database: routes grouped by stop pattern with
// their trips sorted, the walks between platforms, a grid of platform positions. Read-only after
// construction, so searches may share it. Defined in bus/TimedIndex.h (included, so that its
// holders may destroy it).
class TimedIndex;

// The index of a timetable, walking along streets where they make a network; null, with error set,
// when the timetable cannot be used (an unknown time zone, a trip that calls at a platform that
// does not exist).
std::unique_ptr<TimedIndex> BuildTimedIndex(citygen::Timetable timetable, QString& error,
                                            std::span<const walk::Street> streets = {});
const citygen::Timetable& TimetableOf(const TimedIndex& index);
QTimeZone TimeZoneOf(const TimedIndex& index);
// The platforms of a stop name, matched as the bus table's names are (the case of A-Z aside;
// exact spelling first).
std::vector<int> PlatformsNamed(const TimedIndex& index, const QString& name);

// Where a timed trip starts or ends: platforms boarded or left without walking (a stop name's),
// or a point walked from or to platforms within kAccessMetres, or both.
struct TimedEnd {
  QString label;
  std::vector<int> platforms;
  bool placed = false;
  MapPoint point;
};

enum class TimedMode { DepartAt, ArriveBy };

struct TimedQuery {
  TimedEnd from, to;
  QDate day;        // the service day the times count from
  int seconds = 0;  // the departure (DepartAt) or arrival (ArriveBy) time
  TimedMode mode = TimedMode::DepartAt;
  // 0: one departure. Otherwise every plan kept for some departure in [seconds, seconds + window]
  // (ArriveBy: for some arrival in [seconds − window, seconds]).
  int windowSeconds = 0;
  int maxRides = kMaxRides;
};

struct TimedLeg {
  Leg::Mode mode = Leg::Mode::Walk;
  int fromPlatform = -1;                // -1: the trip's start
  int toPlatform = -1;                  // -1: the trip's end
  double metres = 0;                    // a walk's walked metres
  int trip = -1;                        // a ride's trip: index into the timetable's trips
  int boardCall = -1, alightCall = -1;  // a ride's calls: indices into the trip's calls
  int depart = 0, arrive = 0;
  // A walk's way: its points from start to end, and the streets walked (none for a straight walk).
  std::vector<MapPoint> path;
  std::vector<StreetPiece> streets;
};

struct TimedPlan {
  int depart = 0, arrive = 0;
  int rides = 0;
  double walkMetres = 0;
  std::vector<TimedLeg> legs;  // walks and rides in order
};

// The plans for the query, by departure (then arrival) time. For one departure: per ride count
// r = 0 … maxRides the earliest arrival with exactly r rides, kept when earlier by more than 1 s
// than every kept plan with fewer rides; among plans arriving together the one that leaves the
// start latest, then fewer rides, less walking, the smaller sequence of trip ids. ArriveBy
// mirrors it (the latest departure). A window gives the union over its departures, each plan once.
std::vector<TimedPlan> SearchTimed(const TimedIndex& index, const TimedQuery& query);

struct Departure {
  int trip = -1;           // index into the timetable's trips
  int platform = -1;       // index into the timetable's platforms
  int depart = 0;          // seconds after noon minus 12 h of the day asked
  QString line, headsign;  // headsign: trip_headsign, else the trip's last stop's name
};

// The departures from the platforms in [seconds, seconds + window] of day, by time; a call whose
// pickup_type is 1, and a trip's last call, are no departures.
std::vector<Departure> NextDepartures(const TimedIndex& index, const std::vector<int>& platforms, QDate day,
                                      int seconds, int windowSeconds);

// Between wall-clock time in the city's zone and times of a service day.
int ServiceSecondsAt(const QTimeZone& zone, QDate day, QTime wallTime);
// HH:MM:SS counted from noon minus 12 h of the day: hours past 23 are the next day, a leading '-'
// the day before.
QString ServiceTimeText(int seconds);

}  // namespace trip
