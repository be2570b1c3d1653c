#include "dataset/City.h"

#include "data/CityVocabulary.h"

namespace citygen {

const char* PoiTypeName(PoiType type) {
  switch (type) {
    case PoiType::Dining:
      return city::layer::kDining;
    case PoiType::College:
      return city::layer::kColleges;
    case PoiType::Sight:
      return city::layer::kSights;
    case PoiType::Bank:
      return city::layer::kBanks;
    case PoiType::Clinic:
      return city::layer::kClinics;
  }
  return "";
}

}  // namespace citygen
