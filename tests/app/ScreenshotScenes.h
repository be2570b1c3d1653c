#pragma once
// What the pictures show, found in whatever city is loaded: restaurants whose card is complete,
// a corner with a handful of restaurants around it, and two stops joined by one change.
#include <QString>
#include <vector>

#include "map/Feature.h"

class BusPanel;
class MapControl;

// Restaurants with an address and a web site, in the layer's order; at most `count` of them.
std::vector<Feature> RestaurantsWithFullCards(MapControl& map, int count);

// A point near which the restaurants within 400 m are as many as possible, but no more than six.
MapPoint BusyCorner(MapControl& map);

// A point whose nearest restaurant lies 250 to 400 m away, searched outwards from start in
// 100-m steps; start itself when there is none within 2 km.
MapPoint QuietSpot(MapControl& map, MapPoint start);

struct TransferScene {
  QString departureLine;  // a line through the departure stop
  QString departure;
  QString destination;
};

// The first stop of one line and the last stop of another such that no line joins them and the
// search offers three to five plans with one change. Reads the lines' stops through the
// panel's line lookup (which changes its list). Empty names when the city has no such pair.
TransferScene FindTransfer(BusPanel& bus);
