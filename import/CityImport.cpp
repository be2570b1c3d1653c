#include "import/CityImport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <tuple>

#include "data/CityVocabulary.h"
#include "dataset/Writers.h"
#include "import/CityFromOsm.h"
#include "import/CityOutline.h"
#include "import/CityPlacement.h"
#include "import/ImportFailure.h"
#include "import/InputError.h"
#include "import/MapProjection.h"
#include "import/SourcesApart.h"
#include "import/TransitToCity.h"
#include "import/gtfs/GtfsReader.h"
#include "import/osm/OsmReader.h"
#include "map/DataSetConfinement.h"

namespace qiwu::import {
namespace {

namespace fs = std::filesystem;

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

// A temporary folder beside `target`, removed unless its content was moved into place.
std::unique_ptr<QTemporaryDir> TemporaryBeside(const QString& folder, const std::string& city,
                                               const char* kind) {
  auto dir = std::make_unique<QTemporaryDir>(QDir(folder).filePath("." + Q(city) + kind + "XXXXXX"));
  if (!dir->isValid()) throw ImportFailure("cannot create a temporary folder in " + S(folder), 1);
  // QTemporaryDir makes it private; the city it becomes is for everyone to read.
  QFile::setPermissions(dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                         QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                         QFile::ExeOther);
  return dir;
}

// The folders GDAL may read while the sources are read: the sources' own folders.
QStringList SourceFolders(const ImportRequest& request) {
  QStringList folders;
  if (!request.osm.empty()) folders << QFileInfo(Q(request.osm)).absolutePath();
  for (const std::string& feed : request.gtfs) {
    const QFileInfo info(Q(feed));
    folders << (info.isDir() ? info.absoluteFilePath() : info.absolutePath());
  }
  return folders;
}

// The sources with symbolic links resolved, so that the confinement allows the folders they lie in.
ImportRequest Resolved(const ImportRequest& request) {
  const auto real = [](const std::string& path) {
    const QString canonical = QFileInfo(Q(path)).canonicalFilePath();
    return canonical.isEmpty() ? path : S(canonical);
  };
  ImportRequest resolved = request;
  if (!resolved.osm.empty()) resolved.osm = real(resolved.osm);
  for (std::string& feed : resolved.gtfs) feed = real(feed);
  return resolved;
}

// Whether the folder holds any part of the city: its map folder, database or server file.
bool CityIn(const QString& folder, const QString& city) {
  const QDir dir(folder);
  return QFileInfo::exists(dir.filePath("map/" + city)) ||
         QFileInfo::exists(dir.filePath("data/" + city + ".mdb")) ||
         QFileInfo::exists(dir.filePath("data/" + city + ".pg"));
}

struct Sources {
  osm::Extract osm;
  TransitNetwork bus;
};

Sources ReadSources(const ImportRequest& request, const QString& privateFolder, const Progress& progress) {
  DataSetConfinement confinement(SourceFolders(request));
  confinement.AddWritableRoot(privateFolder, true);
  Sources sources;
  if (!request.osm.empty())
    sources.osm = osm::ReadOsm(request.osm, S(privateFolder), request.nameKeys, progress);
  sources.bus = request.gtfs.empty() ? sources.osm.bus : ReadGtfsFeeds(request.gtfs, progress);
  if (const QString refused = confinement.Refused(); !refused.isEmpty())
    throw InputError(S(refused), 0, "refused: the sources may only read files beside themselves");
  return sources;
}

// The extract's data and each feed's stops, to check that they meet.
std::vector<SourceExtent> ExtentsOf(const ImportRequest& request, const Sources& sources) {
  std::vector<SourceExtent> extents;
  if (const OGREnvelope& box = sources.osm.extent; box.IsInit())
    extents.push_back(
        {QFileInfo(Q(request.osm)).fileName().toStdString(), {{box.MinX, box.MinY}, {box.MaxX, box.MaxY}}});
  if (!request.gtfs.empty())
    for (std::size_t k = 0; k < sources.bus.extents.size() && k < request.gtfs.size(); ++k)
      extents.push_back(
          {"the stops of " + QFileInfo(Q(request.gtfs[k])).fileName().toStdString(), sources.bus.extents[k]});
  return extents;
}

// What each source held and what became of it: the extract's table, then each feed's.
std::vector<SourceReport> ReportsOf(const ImportRequest& request, const Sources& sources) {
  std::vector<SourceReport> reports;
  if (!request.osm.empty()) reports.push_back(sources.osm.report);
  if (!request.gtfs.empty())
    reports.insert(reports.end(), sources.bus.reports.begin(), sources.bus.reports.end());
  return reports;
}

// Another name given twice (a street of several ways) is kept once.
void KeepOtherNamesOnce(citygen::City& city) {
  auto& names = city.otherNames;
  const auto key = [](const citygen::OtherName& n) { return std::tie(n.layer, n.name, n.other); };
  std::sort(names.begin(), names.end(), [&](const auto& a, const auto& b) { return key(a) < key(b); });
  names.erase(
      std::unique(names.begin(), names.end(), [&](const auto& a, const auto& b) { return key(a) == key(b); }),
      names.end());
}

LonLat CentreOf(const Sources& sources) {
  OGREnvelope extent = sources.osm.extent;
  for (const TransitStop& stop : sources.bus.stops) extent.Merge(stop.at.lon, stop.at.lat);
  if (!extent.IsInit()) throw ImportFailure("the sources hold nothing to map", 1);
  return {(extent.MinX + extent.MaxX) / 2, (extent.MinY + extent.MaxY) / 2};
}

void Check(const std::string& error) {
  if (!error.empty()) throw ImportFailure(error, 1);
}

std::string Summary(const citygen::City& city, double seconds) {
  std::size_t roads[3] = {}, rows = 0;
  for (const citygen::Road& road : city.roads) ++roads[int(road.roadClass)];
  for (const citygen::BusLine& line : city.lines) rows += line.stops.size();
  std::string text = city.name + " (EPSG:" + std::to_string(city.epsg) + ")\n";
  const auto count = [&text](const std::string& what, std::size_t n) {
    text += "  " + what + ": " + std::to_string(n) + "\n";
  };
  count(city::layer::kDistricts, city.districts.size());
  count(city::layer::kBorders, city.districtBorders.size());
  count(city::layer::kWaters, city.waters.size());
  count(city::layer::kGreens, city.greens.size());
  count(city::layer::kMainRoads, roads[0]);
  count(city::layer::kSecondaryRoads, roads[1]);
  count(city::layer::kBranchRoads, roads[2]);
  count(city::layer::kBusLines, city.lines.size());
  count(city::layer::kBusStops, city.stops.size());
  for (citygen::PoiType type : citygen::kPoiTypes)
    count(citygen::PoiTypeName(type), city.pois[std::size_t(type)].size());
  for (citygen::PoiType type : citygen::kMorePoiTypes)
    if (const std::size_t n = city.pois[std::size_t(type)].size()) count(citygen::PoiTypeName(type), n);
  count(city::layer::kFootways, city.footways.size());
  count(city::layer::kRailways, city.railways.size());
  count(city::layer::kRivers, city.rivers.size());
  count(city::layer::kBuildings, city.buildings.size());
  count(city::layer::kWalkways, city.walkways.size());
  count(std::string(city::kBusTable) + " rows", rows);
  char time[32];
  std::snprintf(time, sizeof time, "%.1f s", seconds);
  return text + "  time: " + time + "\n";
}

}  // namespace

std::string RefuseCityName(const std::string& city) {
  if (city.empty()) return "the city needs a name";
  if (city.front() == '.') return "a city name may not start with a dot";
  if (city.size() > 200) return "the city name is too long";
  for (unsigned char c : city)
    if (c < 0x20 || c == '/' || c == '\\' || c == 0x7f)
      return "a city name may not hold slashes or control characters";
  // The map's workspace files quote the name with it.
  if (city.find('"') != std::string::npos) return "a city name may not hold '\"'";
  return {};
}

std::string ImportCity(const ImportRequest& request, const Progress& progress) {
  const auto start = std::chrono::steady_clock::now();
  if (const std::string refusal = RefuseCityName(request.city); !refusal.empty())
    throw ImportFailure(refusal, 2);
  if (request.osm.empty() && request.gtfs.empty()) throw ImportFailure("give --osm or --gtfs", 2);
  if (request.epsg)
    if (const std::string refusal = RefuseMapEpsg(request.epsg); !refusal.empty())
      throw ImportFailure(refusal, 2);

  const QDir program(Q(request.programDir));
  const QString mapFolder = program.filePath("map"), dataFolder = program.filePath("data");
  const QString mapTarget = QDir(mapFolder).filePath(Q(request.city));
  const QString dbTarget = QDir(dataFolder).filePath(Q(request.city) + ".mdb");
  const QString published = QDir(dataFolder).filePath(Q(request.city) + ".pg");
  for (const std::string& other : request.otherDataFolders)
    if (CityIn(Q(other), Q(request.city)))
      throw ImportFailure("the data folder " + other + " holds a city " + request.city +
                              " already, which the program would open instead; choose another name",
                          3);
  if (request.replace && QFileInfo::exists(published))
    throw ImportFailure("the city " + request.city + " is published (" + S(published) +
                            " names its server); remove that file before replacing the city",
                        3);
  if (!request.replace && CityIn(program.path(), Q(request.city)))
    throw ImportFailure("the city " + request.city + " exists already; --replace replaces it", 3);
  if (!program.mkpath("map") || !program.mkpath("data"))
    throw ImportFailure("cannot create map/ and data/ in " + request.programDir, 1);

  // The import that has the program directory to itself cleans up what killed ones left.
  FolderLock programLock(request.programDir, FolderLock::Want::ExclusiveOrShared);
  if (programLock.Exclusive()) {
    for (const std::string& done : CleanUpLeftovers(request.programDir, S(QDir::tempPath())))
      if (progress) progress(done);
    programLock.Share();
  }

  const QTemporaryDir privateFolder(QDir::temp().filePath("qiwu-import-XXXXXX"));
  if (!privateFolder.isValid()) throw ImportFailure("cannot create a private temporary folder", 1);
  const FolderLock privateLock(S(privateFolder.path()), FolderLock::Want::Exclusive);
  Sources sources = ReadSources(Resolved(request), privateFolder.path(), progress);
  if (!request.allowApart)
    if (const std::string apart = ApartSources(ExtentsOf(request, sources)); !apart.empty())
      throw ImportFailure(apart, 1);

  const LonLat centre = CentreOf(sources);
  citygen::City city;
  city.name = request.city;
  try {
    const MapProjection projection(request.epsg ? request.epsg : ChooseMapEpsg(centre), centre);
    city.epsg = projection.epsg();
    city.origin = projection.origin();
    AddOsmFeatures(sources.osm, projection, city);
    AddTransit(sources.bus, projection, city);
    AddTimetable(std::move(sources.bus.timetable), projection, city);
    EnsureCityOutline(sources.osm.bounds, projection, city);
    KeepOtherNamesOnce(city);
  } catch (const std::runtime_error& failure) {
    throw ImportFailure(failure.what(), 1);
  }

  if (progress) progress("writing " + request.city + " (EPSG:" + std::to_string(city.epsg) + ")");
  const auto newMap = TemporaryBeside(mapFolder, request.city, ".tmp-");
  const auto newData = TemporaryBeside(dataFolder, request.city, ".tmp-");
  const std::string gpkgName = request.city + ".gpkg";
  const QString newDb = QDir(newData->path()).filePath(Q(request.city) + ".mdb");
  Check(citygen::WriteLayers(city, S(QDir(newMap->path()).filePath(Q(gpkgName)))));
  Check(citygen::WriteWorkspaces(city, S(newMap->path()), gpkgName));
  Check(citygen::WriteDatabase(city, S(newDb)));
  const std::string report = ReportText(request.city, ReportsOf(request, sources));
  const QString newReport = QDir(newData->path()).filePath(Q(request.city) + ".import.txt");
  Check(citygen::ReplaceFile(S(newReport), report));
  PutInPlace(S(newMap->path()), S(newDb), S(mapTarget), S(dbTarget));
  // The report follows its city; the program never reads it.
  std::error_code failure;
  fs::rename(S(newReport), S(QDir(dataFolder).filePath(Q(request.city) + ".import.txt")), failure);
  if (failure)
    throw ImportFailure("the city is in place, but its report could not be written: " + failure.message(), 1);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return Summary(city, seconds) + "\n" + report;
}

}  // namespace qiwu::import
