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
    case PoiType::Shop:
      return city::layer::kShops;
    case PoiType::Lodging:
      return city::layer::kLodging;
    case PoiType::School:
      return city::layer::kSchools;
    case PoiType::Worship:
      return city::layer::kWorship;
    case PoiType::PublicService:
      return city::layer::kPublicServices;
    case PoiType::TransportFacility:
      return city::layer::kTransportFacilities;
    case PoiType::Venue:
      return city::layer::kVenues;
    case PoiType::Pharmacy:
      return city::layer::kPharmacies;
    case PoiType::OtherPlace:
      return city::layer::kOtherPlaces;
  }
  return "";
}

bool RecordsModes(const City& city) {
  for (const BusLine& line : city.lines)
    if (!line.mode.empty()) return true;
  return false;
}

}  // namespace citygen
