#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "data/TransitMode.h"
#include "dataset/Writers.h"
#include "map/WorkspaceFile.h"

namespace citygen {
namespace {

using Keys = std::vector<std::pair<std::string, std::string>>;

struct LayerEntry {
  std::string layer;
  Keys keys;
  bool visible = true;
};

Keys AreaStyle(const char* fill, const char* outline, const char* width) {
  return {{"STYLE\\BRUSH\\COLOR", fill}, {"STYLE\\PEN\\COLOR", outline}, {"STYLE\\PEN\\WIDTH", width}};
}
Keys RoadStyle(const char* colour, const char* width, const char* casing, const char* casingWidth) {
  return {{"STYLE\\PEN\\COLOR", colour},
          {"STYLE\\PEN\\WIDTH", width},
          {"STYLE\\CASING\\COLOR", casing},
          {"STYLE\\CASING\\WIDTH", casingWidth}};
}
Keys SymbolStyle(const char* shape, const char* colour, const char* size) {
  return {{"STYLE\\SYMBOL\\SHAPE", shape},
          {"STYLE\\SYMBOL\\COLOR", colour},
          {"STYLE\\SYMBOL\\SIZE", size},
          {"STYLE\\SYMBOL\\OUTLINE", "#FFFFFF"}};
}
Keys Labels(const char* size, const char* colour, const char* maxWidth = nullptr,
            const char* halo = "#FFFFFF") {
  Keys keys = {
      {"LABEL\\FIELD", "name"}, {"LABEL\\SIZE", size}, {"LABEL\\COLOR", colour}, {"LABEL\\HALO", halo}};
  if (maxWidth) keys.push_back({"LABEL\\ZOOM\\MAX", maxWidth});
  return keys;
}
Keys operator+(Keys a, const Keys& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
Keys Key(const char* key, const char* value) { return {{key, value}}; }

// A style case: features whose `by` attribute (STYLE\BY) holds `value` draw with these keys.
Keys Case(const char* value, const Keys& keys) {
  Keys cased;
  for (const auto& [key, setting] : keys)
    cased.push_back({std::string("STYLE\\CASE\\") + value + "\\" + key, setting});
  return cased;
}

// How each mode of transit draws on the line layer: rail heavier, metro in its own colour, ferries
// dashed; buses keep the layer's own style.
Keys ModeStyles() {
  Keys keys = Key("STYLE\\BY", city::kModeField);
  const auto mode = [&keys](const char* value, Keys style) {
    style.push_back({"LEGEND", city::FindTransitMode(value)->name});
    keys = keys + Case(value, style);
  };
  mode("bus", {});
  mode("trolleybus", {{"PEN\\COLOR", "#B0279B8C"}});
  mode("coach", {{"PEN\\COLOR", "#B07A6A5A"}});
  mode("tram", {{"PEN\\COLOR", "#D0C0392B"}, {"PEN\\WIDTH", "2.6"}});
  mode("light_rail", {{"PEN\\COLOR", "#E07D3C98"}, {"PEN\\WIDTH", "3.2"}});
  mode("subway", {{"PEN\\COLOR", "#E01B5FAA"}, {"PEN\\WIDTH", "3.6"}});
  mode("monorail", {{"PEN\\COLOR", "#E03A8C9E"}, {"PEN\\WIDTH", "3"}});
  mode("rail", {{"PEN\\COLOR", "#E0505050"},
                {"PEN\\WIDTH", "4"},
                {"CASING\\COLOR", "#FFFFFF"},
                {"CASING\\WIDTH", "5.6"}});
  mode("funicular", {{"PEN\\COLOR", "#E0805A3C"}, {"PEN\\WIDTH", "2.6"}, {"PEN\\PATTERN", "dot"}});
  mode("cable_tram", {{"PEN\\COLOR", "#E0805A3C"}, {"PEN\\WIDTH", "2.6"}});
  mode("aerialway", {{"PEN\\COLOR", "#E0404040"}, {"PEN\\WIDTH", "1.6"}, {"PEN\\PATTERN", "dashdot"}});
  mode("ferry", {{"PEN\\COLOR", "#E02A7FBF"}, {"PEN\\WIDTH", "2.4"}, {"PEN\\PATTERN", "dash"}});
  mode("other", {{"PEN\\COLOR", "#B0707070"}});
  return keys;
}

// The drawn railways by kind: main lines heavy and grey, trams thin.
Keys RailwayStyles() {
  return Key("STYLE\\BY", city::kKindField) + Case("rail", {{"PEN\\WIDTH", "2.6"}}) +
         Case("subway", {{"PEN\\COLOR", "#7F9CC8"}, {"PEN\\PATTERN", "dash"}}) +
         Case("tram", {{"PEN\\COLOR", "#A27BB0"}, {"PEN\\WIDTH", "1.2"}});
}

Keys PlaceStyle(const char* shape, const char* colour, const char* label) {
  return SymbolStyle(shape, colour, "10") + Labels("8", label) + Key("ZOOM\\MAX", "2000");
}

// The layers an imported city may add, each only where it has features: further kinds of place
// below the five (so that the five keep their places in the keyword pick's walk).
std::vector<LayerEntry> MorePlaceLayers(const City& city) {
  const std::pair<PoiType, Keys> styles[] = {
      {PoiType::Shop, PlaceStyle("square", "#D4559B", "#8E2E63")},
      {PoiType::Lodging, PlaceStyle("diamond", "#3F7FBF", "#25527F")},
      {PoiType::School, PlaceStyle("triangle", "#8E6CC9", "#5A3E8F")},
      {PoiType::Worship, PlaceStyle("cross", "#7A6552", "#4E3F31")},
      {PoiType::PublicService, PlaceStyle("square", "#3C8D6E", "#245A45")},
      {PoiType::TransportFacility, PlaceStyle("diamond", "#5A6B7D", "#38444F")},
      {PoiType::Venue, PlaceStyle("star", "#2F9E8F", "#1D665C")},
      {PoiType::Pharmacy, PlaceStyle("cross", "#2EAD5B", "#1B6E38")},
      {PoiType::OtherPlace,
       SymbolStyle("circle", "#8A8A8A", "7") + Labels("8", "#555555") + Key("ZOOM\\MAX", "1500")},
  };
  std::vector<LayerEntry> layers;
  for (const auto& [type, keys] : styles)
    if (!city.pois[size_t(type)].empty()) layers.push_back({PoiTypeName(type), keys});
  return layers;
}

// The layers every city has, bottom to top, in the colours of a printed city plan; a city that
// records its lines' modes styles them by mode.
std::vector<LayerEntry> CityLayers(bool modes) {
  return {
      {layer::kDistricts,
       AreaStyle("#F3EFE6", "#D8D0C0", "0.5") + Labels("16", "#A8977C", nullptr, "#F3EFE6")},
      {layer::kGreens, AreaStyle("#CDE6B5", "#A9CC8C", "0.6") + Labels("9", "#3E7B2A", "6000") +
                           Key("LEGEND", layer::kGreens)},
      {layer::kWaters, AreaStyle("#AAD3F2", "#7DB4E0", "0.8") + Labels("10", "#2F6FAF", "20000") +
                           Key("LEGEND", layer::kWaters)},
      {layer::kWall,
       AreaStyle("#9B7B57", "#6E5234", "1") + Labels("9", "#6E5234", "8000") + Key("LEGEND", layer::kWall)},
      {layer::kBorders, Keys{{"STYLE\\PEN\\COLOR", "#A07CC0"},
                             {"STYLE\\PEN\\WIDTH", "1.6"},
                             {"STYLE\\PEN\\PATTERN", "dashdot"}} +
                            Key("LEGEND", layer::kBorders)},
      {layer::kBranchRoads, RoadStyle("#FFFFFF", "2.2", "#CFC8BA", "3.6") + Key("ZOOM\\MAX", "16000")},
      {layer::kSecondaryRoads, RoadStyle("#FFF4C8", "3.6", "#D8C07E", "5.4")},
      {layer::kMainRoads, RoadStyle("#FFD07A", "5.2", "#D0913A", "7.4") + Labels("9", "#5A4020", "9000")},
      {layer::kStreets,
       Keys{{"STYLE\\PEN\\PATTERN", "none"}, {"ZOOM\\MAX", "3000"}} + Labels("8", "#4A4030")},
      {layer::kBusLines,
       Keys{{"STYLE\\PEN\\COLOR", "#B02E7CD6"}, {"STYLE\\PEN\\WIDTH", "2.2"}, {"ZOOM\\MAX", "12000"}} +
           (modes ? ModeStyles() : Keys{})},
      {layer::kBusStops, SymbolStyle("bus", "#1F6FD1", "11") + Labels("8", "#1A4F8F", "2500") +
                             Key("ZOOM\\MAX", "4000") + Key("LEGEND", layer::kBusStops)},
      {PoiTypeName(PoiType::Bank), SymbolStyle("bank", "#C9A227", "12") + Labels("8", "#7A5F0F") +
                                       Key("ZOOM\\MAX", "2000") + Key("LEGEND", layer::kBanks)},
      {PoiTypeName(PoiType::Clinic), SymbolStyle("hospital", "#D93B48", "12") + Labels("8", "#9E1F2A") +
                                         Key("ZOOM\\MAX", "2000") + Key("LEGEND", city::kClinicsLegendClass)},
      {PoiTypeName(PoiType::College), SymbolStyle("college", "#6C4FB8", "12") + Labels("8", "#4A3290") +
                                          Key("ZOOM\\MAX", "2000") + Key("LEGEND", layer::kColleges)},
      {PoiTypeName(PoiType::Dining), SymbolStyle("dining", "#E67A2E", "11") + Labels("8", "#8F4514") +
                                         Key("ZOOM\\MAX", "3000") + Key("LEGEND", layer::kDining)},
      {PoiTypeName(PoiType::Sight), SymbolStyle("sight", "#C8322D", "13") + Labels("9", "#8F1F1B") +
                                        Key("ZOOM\\MAX", "5000") + Key("LEGEND", layer::kSights)},
  };
}

// The main map, bottom to top: every city's layers and what an imported city adds.
std::vector<LayerEntry> MainLayers(const City& city) {
  std::vector<LayerEntry> layers = CityLayers(RecordsModes(city));
  const auto insertAfter = [&layers](const char* below, std::vector<LayerEntry> added) {
    const auto at =
        std::find_if(layers.begin(), layers.end(), [below](const LayerEntry& e) { return e.layer == below; });
    layers.insert(at + 1, added.begin(), added.end());
  };
  const auto when = [](bool present, LayerEntry entry) {
    return present ? std::vector<LayerEntry>{std::move(entry)} : std::vector<LayerEntry>{};
  };
  insertAfter(
      layer::kWaters,
      when(!city.rivers.empty(),
           {layer::kRivers, Keys{{"STYLE\\PEN\\COLOR", "#7DB4E0"}, {"STYLE\\PEN\\WIDTH", "1.2"}} +
                                Key("STYLE\\BY", city::kKindField) + Case("river", {{"PEN\\WIDTH", "2.6"}}) +
                                Case("canal", {{"PEN\\WIDTH", "2"}}) + Labels("8", "#2F6FAF", "8000")}));
  insertAfter(layer::kBorders,
              when(!city.buildings.empty(),
                   {layer::kBuildings, AreaStyle("#E2DAD0", "#C9BEB0", "0.5") + Key("ZOOM\\MAX", "2500")}));
  insertAfter(layer::kBranchRoads,
              when(!city.footways.empty(), {layer::kFootways, Keys{{"STYLE\\PEN\\COLOR", "#C98A6A"},
                                                                   {"STYLE\\PEN\\WIDTH", "1.2"},
                                                                   {"STYLE\\PEN\\PATTERN", "dash"},
                                                                   {"ZOOM\\MAX", "4000"}} +
                                                                  Labels("7", "#7A5040", "2500")}));
  insertAfter(layer::kMainRoads,
              when(!city.railways.empty(),
                   {layer::kRailways, Keys{{"STYLE\\PEN\\COLOR", "#777777"}, {"STYLE\\PEN\\WIDTH", "1.6"}} +
                                          RailwayStyles() + Labels("8", "#555555", "6000")}));
  insertAfter(layer::kBusStops, MorePlaceLayers(city));
  // The walking network's other ways: read by the trip planner, drawn nowhere.
  insertAfter(layer::kDistricts, when(!city.walkways.empty(), {layer::kWalkways, {}, false}));
  return layers;
}

// The overview: the city's shape at a glance, no labels but the districts'.
std::vector<LayerEntry> OverviewLayers() {
  return {
      {layer::kDistricts, AreaStyle("#EEE9DE", "#CFC6B4", "0.5") + Labels("8", "#A8977C")},
      {layer::kWaters, Keys{{"STYLE\\BRUSH\\COLOR", "#AAD3F2"}, {"STYLE\\PEN\\PATTERN", "none"}}},
      {layer::kWall, AreaStyle("#9B7B57", "#9B7B57", "0.5")},
      {layer::kMainRoads, Keys{{"STYLE\\PEN\\COLOR", "#E0A050"}, {"STYLE\\PEN\\WIDTH", "1.2"}}},
  };
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

WorkspaceFile Workspace(const City& city, const std::string& gpkgName, const std::vector<LayerEntry>& layers,
                        double viewWidth) {
  WorkspaceFile workspace;
  workspace.name = Q(city.name);
  workspace.projection = Q("EPSG:" + std::to_string(city.epsg));
  workspace.hasCenter = true;
  workspace.center = {double(std::lround(city.origin.x)), double(std::lround(city.origin.y))};
  workspace.zoomLevel = double(long(viewWidth));
  for (const LayerEntry& entry : layers) {
    WorkspaceLayerEntry& written = workspace.layers.emplace_back();
    written.file = Q(gpkgName);
    written.sourceLayer = written.name = Q(entry.layer);
    for (const auto& [key, value] : Key("ISVISIBLE", entry.visible ? "TRUE" : "FALSE") + entry.keys)
      written.keys.emplace_back(Q(key), Q(value));
  }
  return workspace;
}

std::string Written(const std::string& path, const WorkspaceFile& workspace) {
  const Outcome written = WriteWorkspaceFile(Q(path), workspace);
  return written.ok() ? std::string() : written.description.toStdString();
}

// The width of a view that shows the whole city: its borders, or its roads where it has none.
double CityWidth(const City& city) {
  double reach = 0;
  const auto reachOf = [&reach](const Polyline& line) {
    for (const Vec2& p : line) reach = std::max({reach, std::abs(p.x), std::abs(p.y)});
  };
  for (const NamedLine& border : city.districtBorders)
    for (const Polyline& part : border.parts) reachOf(part);
  if (reach == 0)  // an imported city may have a district without borders: its outline
    for (const Area& district : city.districts)
      for (const Polygon& part : district.parts) reachOf(part.rings.front());
  if (reach == 0)
    for (const Road& road : city.roads) reachOf(road.line);
  return std::max(1000.0, std::ceil(2.1 * reach / 1000) * 1000);
}

}  // namespace

std::string WriteWorkspaces(const City& city, const std::string& dir, const std::string& gpkgName) {
  const std::filesystem::path base(dir);
  std::string error =
      Written((base / (city.name + ".gst")).string(),
              Workspace(city, gpkgName, MainLayers(city), std::min(12000.0, CityWidth(city))));
  if (error.empty())
    error = Written((base / (city.name + "2.gst")).string(),
                    Workspace(city, gpkgName, OverviewLayers(), CityWidth(city)));
  return error;
}

std::string ReplaceFile(const std::string& path, const std::string& text) {
  const std::string temporary = path + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush()) return "cannot write " + temporary;
  }
  std::error_code failure;
  std::filesystem::rename(temporary, path, failure);
  return failure ? "cannot replace " + path + ": " + failure.message() : "";
}

}  // namespace citygen
