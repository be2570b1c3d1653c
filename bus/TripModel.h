#pragma once
// The trip planner's model: the stops and lines it rides on, the costs of walking and riding, and
// the plans it answers with. Positions are metres in the map's CRS; times are minutes. No widgets.
#include <QString>
#include <vector>

#include "map/MapTypes.h"

namespace trip {

constexpr double kWalkMetresPerMinute = 4500.0 / 60;   // 4.5 km/h
constexpr double kWalkDetour = 1.3;                    // walked metres per straight-line metre
constexpr double kRideMetresPerMinute = 20000.0 / 60;  // 20 km/h
constexpr double kMinutesPerSegment = 0.5;             // stopping at each stop passed
constexpr double kUnplacedSegmentMinutes = 2;          // a segment with an end that has no position
constexpr double kChangeMinutes = 5;                   // every boarding after the first
constexpr double kAccessMetres = 800;                  // straight line, origin→stop and stop→destination
constexpr double kTransferMetres = 300;                // straight line, between two stop names
constexpr int kMaxRides = 4;
constexpr double kTieMinutes = 0.01;  // plans this close in time count as equally quick

// Walking a straight-line distance: the metres walked and the minutes it takes.
inline double WalkedMetres(double straight) { return straight * kWalkDetour; }
inline double WalkMinutes(double straight) { return WalkedMetres(straight) / kWalkMetresPerMinute; }

struct Stop {
  QString name;
  bool placed = false;  // has a position on the map
  MapPoint position;    // the mean of the stop layer's points of this name
};

struct Line {
  QString name;
  std::vector<int> stops;  // indices into Network::stops, in 顺序 order; ridden either way
};

struct Network {
  std::vector<Stop> stops;
  std::vector<Line> lines;
};

// Where a trip starts or ends: a stop (boarded or left without walking), a point, or both (a stop
// with a position: its neighbours within walking distance may be used as well).
struct Place {
  QString label;        // as the user named it
  int stop = -1;        // index into Network::stops, -1: not a stop
  bool placed = false;  // point holds a position
  MapPoint point;
};

// A piece of a walk along one street; consecutive pieces of one street are one piece.
struct StreetPiece {
  QString name;  // 无名道路 for a street without a name
  double metres = 0;
};

struct Leg {
  enum class Mode { Walk, Ride };
  Mode mode = Mode::Walk;
  int from = -1;           // stop index; -1 for the trip's start (a walk's origin)
  int to = -1;             // stop index; -1 for the trip's end
  double metres = 0;       // a walk's walked metres
  int line = -1;           // a ride's line (index into Network::lines)
  std::vector<int> stops;  // a ride's stops in riding order, both ends included
  double minutes = 0;
  // A walk's way: its points from start to end, and the streets walked (none for a straight walk).
  std::vector<MapPoint> path;
  std::vector<StreetPiece> streets;

  static Leg WalkLeg(int from, int to, double metres) {
    Leg leg;
    leg.from = from;
    leg.to = to;
    leg.metres = metres;
    leg.minutes = metres / kWalkMetresPerMinute;
    return leg;
  }
};

struct Plan {
  double minutes = 0;
  double walkMetres = 0;
  int rides = 0;
  std::vector<Leg> legs;  // walks and rides in order; a change is the boarding of a later ride

  int Changes() const { return rides > 0 ? rides - 1 : 0; }
};

}  // namespace trip
