#pragma once
// A city's timetable as plain data: what the GTFS feeds (or the demo generator) say about when each
// trip calls where, on which days. The importer and the generator fill it, the writer stores it
// beside the bus table (docs/timetable.md), and the trip planner reads it back into the same shape.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "dataset/Vec2.h"

namespace citygen {

// A time of a service day in seconds after "noon minus 12 h" (GTFS time): 0 … 47:59:59, so a
// trip of one day may run past midnight into the next.
using ServiceSeconds = std::int32_t;

// A place where trips call: a GTFS stop (a platform, a pole); several may share a name, which is
// the 站名 of the bus table and the stop layer.
struct Platform {
  std::string id;    // FEED:stop_id
  std::string name;  // stop_name
  bool placed = false;
  Vec2 at;  // relative to the city's origin; read back from a database: map coordinates
};

// GTFS pickup_type / drop_off_type: 0 regular, 1 none, 2 phone the agency, 3 ask the driver.
struct Call {
  int platform = -1;  // index into Timetable::platforms
  ServiceSeconds arrival = 0, departure = 0;
  std::uint8_t pickup = 0, dropOff = 0;
};

struct Trip {
  std::string id;           // FEED:trip_id
  std::string line;         // the 线路名 of the bus table
  std::string service;      // FEED:service_id
  std::string headsign;     // trip_headsign, or empty
  std::vector<Call> calls;  // in riding order; times never decrease
};

// When a service runs: calendar.txt's weekdays between its dates, then calendar_dates.txt's
// exceptions (added 1, removed 2). Dates are YYYYMMDD.
struct Service {
  std::string id;  // FEED:service_id
  bool hasCalendar = false;
  std::array<bool, 7> weekdays{};  // Monday first
  std::string startDate, endDate;
  std::vector<std::pair<std::string, int>> exceptions;  // date, exception_type
};

// frequencies.txt: the trip runs from start every headway seconds while before end, its calls
// keeping their offsets from its first departure.
struct Frequency {
  std::string trip;  // FEED:trip_id
  ServiceSeconds start = 0, end = 0;
  std::int32_t headway = 0;
  bool exactTimes = false;
};

struct Timetable {
  std::string timeZone;  // IANA name, e.g. Europe/Berlin
  std::vector<Platform> platforms;
  std::vector<Trip> trips;
  std::vector<Service> services;
  std::vector<Frequency> frequencies;

  bool Empty() const { return trips.empty(); }
};

}  // namespace citygen
