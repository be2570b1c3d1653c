#pragma once
// Timed plans built by hand for the tests of their text and of the planner window.
#include <vector>

#include "bus/TimedSearch.h"

// A walk (from or to -1: the trip's start or end) and a ride of table's trip between two calls.
trip::TimedLeg WalkLeg(int from, int to, double metres, int depart, int arrive);
trip::TimedLeg RideLeg(const citygen::Timetable& table, int trip, int boardCall, int alightCall);
// A plan of these legs, its times, rides and walking taken from them.
trip::TimedPlan PlanOf(std::vector<trip::TimedLeg> legs);
