#include <filesystem>
#include <vector>

#include "dataset/SqliteFile.h"
#include "dataset/TimetableWriter.h"
#include "dataset/Writers.h"

namespace citygen {
namespace {

// An empty text is stored as NULL.
Cell TextOrNull(const std::string& text) { return text.empty() ? Cell() : Cell(text); }

void NameTable(SqliteFile& db, const std::string& table, const std::vector<std::string>& names) {
  std::vector<CellRow> rows;
  for (const auto& name : names) rows.push_back({TextOrNull(name)});
  WriteTable(db, table, {{city::kNameField, "TEXT"}}, rows);
}

template <typename T>
std::vector<std::string> NamesOf(const std::vector<T>& items) {
  std::vector<std::string> names;
  for (const auto& item : items) names.push_back(item.name);
  return names;
}

// A kind of place with its contact columns.
void ContactTable(SqliteFile& db, const City& city, PoiType type) {
  std::vector<CellRow> rows;
  for (const Poi& poi : city.pois[size_t(type)]) {
    rows.push_back({TextOrNull(poi.name), TextOrNull(poi.linkman), TextOrNull(poi.tel),
                    TextOrNull(poi.address), TextOrNull(poi.web)});
  }
  WriteTable(db, PoiTypeName(type),
             {{city::kNameField, "TEXT"},
              {city::kLinkmanField, "TEXT"},
              {city::kTelField, "TEXT"},
              {city::kAddressField, "TEXT"},
              {city::kWebField, "TEXT"}},
             rows);
}

void LineModeTable(SqliteFile& db, const City& city) {
  std::vector<CellRow> rows;
  for (const BusLine& line : city.lines)
    rows.push_back({TextOrNull(line.name), TextOrNull(line.mode), TextOrNull(line.colour)});
  WriteTable(db, city::kLineModeTable,
             {{city::kLineField, "TEXT"}, {city::kModeField, "TEXT"}, {city::kColourField, "TEXT"}}, rows);
}

void OtherNameTable(SqliteFile& db, const City& city) {
  std::vector<CellRow> rows;
  for (const OtherName& other : city.otherNames)
    rows.push_back({TextOrNull(other.layer), TextOrNull(other.name), TextOrNull(other.other)});
  WriteTable(db, city::kOtherNameTable,
             {{city::kTypeNameField, "TEXT"}, {city::kNameField, "TEXT"}, {city::kOtherNameField, "TEXT"}},
             rows);
}

}  // namespace

std::string WriteDatabase(const City& city, const std::string& dbPath) {
  const std::string temporary = dbPath + ".new";
  std::filesystem::remove(temporary);
  {
    SqliteFile db(temporary);
    // Written under a temporary name and renamed at the end: no journal, no waiting for the disk.
    db.Run("PRAGMA journal_mode = OFF");
    db.Run("PRAGMA synchronous = OFF");
    db.Run("BEGIN");
    // The rows of a line go in one after another in riding order: readers that ask without an
    // order clause get them as stored.
    std::vector<CellRow> bus;
    for (const BusLine& line : city.lines) {
      for (std::size_t k = 0; k < line.stops.size(); ++k) {
        bus.push_back({TextOrNull(line.name), TextOrNull(city.stops[line.stops[k]].name), std::int64_t(k + 1),
                       std::int64_t(line.id)});
      }
    }
    WriteTable(db, city::kBusTable,
               {{city::kLineField, "TEXT"},
                {city::kStopField, "TEXT"},
                {city::kOrderField, "INTEGER"},
                {"ID", "INTEGER"}},
               bus);

    std::vector<CellRow> types;
    for (PoiType type : kPoiTypes) types.push_back({PoiTypeName(type), city::kPointKind});
    for (PoiType type : kMorePoiTypes)
      if (!city.pois[size_t(type)].empty()) types.push_back({PoiTypeName(type), city::kPointKind});
    types.push_back({layer::kBusStops, city::kPointKind});
    for (RoadClass roadClass : {RoadClass::Main, RoadClass::Secondary, RoadClass::Branch}) {
      types.push_back({RoadLayerName(roadClass), city::kLineKind});
    }
    types.push_back({layer::kGreens, city::kAreaKind});
    types.push_back({layer::kWaters, city::kAreaKind});
    WriteTable(db, city::kTypeTable, {{city::kTypeNameField, "TEXT"}, {city::kTypeKindField, "TEXT"}}, types);

    ContactTable(db, city, PoiType::Dining);
    for (PoiType type : kPoiTypes) {
      if (type != PoiType::Dining) NameTable(db, PoiTypeName(type), NamesOf(city.pois[size_t(type)]));
    }
    for (PoiType type : kMorePoiTypes)
      if (!city.pois[size_t(type)].empty()) ContactTable(db, city, type);
    NameTable(db, layer::kBusStops, NamesOf(city.stops));
    for (RoadClass roadClass : {RoadClass::Main, RoadClass::Secondary, RoadClass::Branch}) {
      std::vector<std::string> names;
      for (const Road& road : city.roads)
        if (road.roadClass == roadClass) names.push_back(road.name);
      NameTable(db, RoadLayerName(roadClass), names);
    }
    NameTable(db, layer::kGreens, NamesOf(city.greens));
    NameTable(db, layer::kWaters, NamesOf(city.waters));
    if (RecordsModes(city)) LineModeTable(db, city);
    if (!city.otherNames.empty()) OtherNameTable(db, city);
    if (!city.timetable.Empty()) {
      const std::string problem = WriteTimetable(db, city);
      if (!problem.empty()) return problem;
    }
    db.Run("COMMIT");
    if (!db.error().empty()) return db.error();
  }
  std::error_code failure;
  std::filesystem::rename(temporary, dbPath, failure);
  return failure ? "cannot replace " + dbPath + ": " + failure.message() : "";
}

}  // namespace citygen
