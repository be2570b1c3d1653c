#pragma once
// Names and contact details for points of interest, built from parts. Each maker returns a name
// that the NameBook has not handed out before.
#include <string>

#include "dataset/City.h"
#include "tools/citygen/Names.h"

namespace citygen {

struct PoiNamer {
  NameBook& names;
  std::string cityStem;                    // "栖坞"
  std::vector<std::string> districtStems;  // "古城", "江南", ...

  // A restaurant, tea house, bar or karaoke, with its contact columns; `road` names the street
  // it stands on and gives a branch its "(…店)" when the plain name is taken.
  Poi Dining(const std::string& road, int houseNumber);
  std::string College();
  std::string Sight(bool oldTown);
  std::string Bank(const std::string& road);
  std::string Clinic(const std::string& road);

 private:
  std::string Telephone();
  std::string Web(const std::string& latin);
  std::string Unique(std::string name, const std::string& road, const char* branchWord);
};

}  // namespace citygen
