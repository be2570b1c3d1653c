#include "tests/bus/TripDemoCity.h"

#include <stdexcept>

#include "bus/TripCity.h"
#include "data/BusTable.h"
#include "data/CityVocabulary.h"

DemoCity::DemoCity() {
  Outcome error;
  if (!database.Open(kDemoDir + "/data/" + kDemoCity + ".mdb", error))
    throw std::runtime_error("demo database");
  if (!LoadWorkspace(kDemoDir + "/map/" + kDemoCity + "/" + kDemoCity + ".gst", workspace).ok())
    throw std::runtime_error("demo workspace");
  for (auto it = workspace.layers.rbegin(); it != workspace.layers.rend(); ++it)
    layersFromTop.push_back(it->get());
  const Layer* stops = nullptr;
  for (Layer* layer : layersFromTop)
    if (layer->Name() == QString::fromUtf8(city::layer::kBusStops)) stops = layer;
  streets = walk::StreetsOf(walk::WalkLayers(layersFromTop));
  index = std::make_unique<trip::Index>(trip::ReadNetwork(BusTable::Of(database), stops));
  streetsIndex = std::make_unique<trip::Index>(index->Net(), streets);
}
