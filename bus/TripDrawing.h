#pragma once
// A trip plan drawn over the main map on its own RouteOverlay: walks dashed, each ride in its own
// colour with the stops it passes marked, the boarding, change and alighting stops labelled, and
// the view fitted to the trip.
#include "bus/RouteOverlay.h"
#include "bus/TimedSearch.h"
#include "bus/TripIndex.h"
#include "bus/TripModel.h"
#include "dataset/Timetable.h"

// Replaces what overlay shows by plan (from and to: the trip's ends) and fits map's view to it.
void DrawTripPlan(RouteOverlay& overlay, MapControl& map, const trip::Index& index, const trip::Plan& plan,
                  const trip::Place& from, const trip::Place& to);
// The same for a plan by the clock, its rides through the platforms of table's trips.
void DrawTimedPlan(RouteOverlay& overlay, MapControl& map, const citygen::Timetable& table,
                   const trip::TimedPlan& plan, const trip::Place& from, const trip::Place& to);
