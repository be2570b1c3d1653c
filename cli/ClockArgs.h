#pragma once
// The command lines of `trip` and `departures`: their names, and the options that say when (a
// wall-clock time in the city's zone, a window of minutes) and how.
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <optional>

struct ClockArgs {
  QStringList names;   // the positional arguments: FROM TO, or STOP
  bool timed = false;  // --at or --arrive-by given; otherwise now
  QDate day;           // the wall-clock date and time given
  QTime time;
  bool arriveBy = false;  // --arrive-by: time is the latest arrival
  bool estimate = false;  // --estimate: the model without timetables
  int windowMinutes = 0;  // --window
  int maxRides = 0;       // --max-changes + 1 (trip)
  bool json = false;
};

// "YYYY-MM-DD HH:MM" (hours may have one digit) as a date and a time of day; nullopt when it is
// not a real date and time of day.
std::optional<std::pair<QDate, QTime>> ReadWallTime(const QString& text);

// FROM TO [--at T | --arrive-by T | --estimate] [--window MIN] [--max-changes N] [--json]; the
// window defaults to 0, the rides to trip::kMaxRides. nullopt for a command line it cannot use.
std::optional<ClockArgs> ReadTripArgs(const QStringList& args);

// STOP [--at T] [--window MIN] [--json]; the window defaults to 60 minutes.
std::optional<ClockArgs> ReadDeparturesArgs(const QStringList& args);

// A wall-clock date and time as "YYYY-MM-DD HH:MM", as --at takes it.
QString WallTimeText(QDate day, QTime time);
