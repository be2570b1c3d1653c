#pragma once
// A synthetic data set that other map engines can render too (docs/render-benchmark.md gives its
// recipe): over a 50 km square in EPSG:32650, scale x (100,000 random-walk lines of 10 vertices and
// ~50 m steps, 100,000 uniform points, 5,000 star polygons of 12 vertices and radius 50-400 m), from a
// fixed seed. Styles: light-blue polygons without outline, green lines, 4-px red circles.
#include <memory>
#include <vector>

#include "map/Layer.h"
#include "map/MapView.h"

struct SyntheticCity {
  std::vector<std::unique_ptr<Layer>> layers;  // polygons, lines, points: bottom to top
  std::vector<const Layer*> BottomToTop() const;
  int FeatureCount() const;
};

// scale: 1 for 205,000 features; linePixels: the lines' width on screen at SyntheticView().
SyntheticCity MakeSyntheticCity(int scale, double linePixels, unsigned seed = 42);

// The view the engines are compared at: the whole square at 1920 x 1080.
MapView SyntheticView();

// Writes the data set as one GeoPackage (layers polygons, lines, points, field "kind") and a
// workspace synth.gst for it into dir; false with a message on stderr when that fails.
bool WriteSyntheticWorkspace(const SyntheticCity& city, const char* dir, double linePixels);
