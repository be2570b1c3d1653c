#include "tests/support/TimedLegs.h"

trip::TimedLeg WalkLeg(int from, int to, double metres, int depart, int arrive) {
  trip::TimedLeg leg;
  leg.fromPlatform = from;
  leg.toPlatform = to;
  leg.metres = metres;
  leg.depart = depart;
  leg.arrive = arrive;
  return leg;
}

trip::TimedLeg RideLeg(const citygen::Timetable& table, int trip, int boardCall, int alightCall) {
  const std::vector<citygen::Call>& calls = table.trips[std::size_t(trip)].calls;
  trip::TimedLeg leg;
  leg.mode = trip::Leg::Mode::Ride;
  leg.trip = trip;
  leg.boardCall = boardCall;
  leg.alightCall = alightCall;
  leg.fromPlatform = calls[std::size_t(boardCall)].platform;
  leg.toPlatform = calls[std::size_t(alightCall)].platform;
  leg.depart = calls[std::size_t(boardCall)].departure;
  leg.arrive = calls[std::size_t(alightCall)].arrival;
  return leg;
}

trip::TimedPlan PlanOf(std::vector<trip::TimedLeg> legs) {
  trip::TimedPlan plan;
  plan.depart = legs.front().depart;
  plan.arrive = legs.back().arrive;
  for (const trip::TimedLeg& leg : legs) {
    if (leg.mode == trip::Leg::Mode::Ride) ++plan.rides;
    plan.walkMetres += leg.metres;
  }
  plan.legs = std::move(legs);
  return plan;
}
