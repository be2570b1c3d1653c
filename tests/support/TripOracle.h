#pragma once
// The trip search's referee: a plain Dijkstra over the expanded graph (a state is a stop and the
// rides used, or a seat on a line between two stops), with its own walks found by brute force.
// Slow and simple on purpose.
#include <array>
#include <vector>

#include "bus/TripModel.h"
#include "bus/TripSearch.h"

class TripOracle {
 public:
  explicit TripOracle(const trip::Network& network);
  // The quickest time with exactly r rides, r = 0..kMaxRides; trip::kNoTrip when there is none.
  std::array<double, trip::kMaxRides + 1> BestMinutes(const trip::Place& from, const trip::Place& to) const;

 private:
  struct Edge {
    int to;
    double minutes;
  };
  std::vector<Edge> Walks(const trip::Place& place) const;

  const trip::Network& network_;
  std::vector<std::vector<Edge>> transfers_;             // by stop: stops within 300 m, walk minutes
  std::vector<std::vector<std::pair<int, int>>> seats_;  // by stop: (line, position on the line)
  std::vector<int> lineBegin_;                           // first seat node of each line
  int seatCount_ = 0;
};

// Random trips for checks and figures: half between stop names, half between points in the
// extent of the placed stops. Deterministic for a seed.
std::vector<std::pair<trip::Place, trip::Place>> RandomTrips(const trip::Network& network, int count,
                                                             unsigned seed);

// A network of `lines` lines over a jittered square grid of stop names, each line a walk through
// neighbouring cells, its stops 300–600 m apart. Deterministic for a seed.
trip::Network GeneratedTripNetwork(int lines, unsigned seed);
