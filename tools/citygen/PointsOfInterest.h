#pragma once
// The five point-of-interest layers: places along the streets, denser towards the centre,
// with names and (for dining) contact details; plus the deliberate oddities the program's
// searches must cope with (see docs/demo-city.md).
#include "dataset/City.h"
#include "tools/citygen/Layout.h"
#include "tools/citygen/Names.h"
#include "tools/citygen/StreetNetwork.h"

namespace citygen {

void BuildPointsOfInterest(const Layout& layout, const StreetNetwork& streets, NameBook& names, int scale,
                           City& city);

}  // namespace citygen
