// qiwu-import: builds a city data set beside the program from an OpenStreetMap extract and GTFS feeds.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>

#include "data/DataFolders.h"
#include "import/CityImport.h"
#include "import/ImportFailure.h"
#include "import/InputError.h"
#include "import/osm/OsmTags.h"
#include "import/publish/CityPublisher.h"
#include "map/GdalLockDown.h"

namespace {

void Report(const std::string& line) { std::fprintf(stderr, "qiwu-import: %s\n", line.c_str()); }

// qiwu-import --publish: the data set city of programDir onto a database server.
int Publish(const QString& connection, const QString& city, const QString& programDir) {
  if (city.isEmpty()) {
    Report("--publish needs --city NAME; see --help");
    return 2;
  }
  QString message;
  if (!publish::PublishCity(connection, city, programDir, message)) {
    Report(message.toStdString());
    return 1;
  }
  std::printf("%s: published\n", city.toUtf8().constData());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("qiwu-import"));
  QCoreApplication::setApplicationVersion(QStringLiteral(QIWU_VERSION));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Builds the data set of a city (map/NAME/ and data/NAME.mdb in PROGRAM_DIR) from an OpenStreetMap\n"
      "extract and GTFS feeds. Bus lines come from the feeds, or from the extract's bus routes without "
      "one."));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption city("city", QStringLiteral("The city's name (names its folder and files)."),
                                "NAME");
  const QCommandLineOption out(
      "out",
      QStringLiteral("The program directory to write into (default: the user's data folder when installed)."),
      "PROGRAM_DIR");
  const QCommandLineOption osm("osm", QStringLiteral("An OpenStreetMap extract, .osm.pbf or .osm."),
                               "EXTRACT");
  const QCommandLineOption gtfs("gtfs", QStringLiteral("A GTFS feed, .zip or folder; may be given again."),
                                "FEED");
  const QCommandLineOption epsg("epsg", QStringLiteral("The map CRS, a projected EPSG code in metres."),
                                "CODE");
  const QCommandLineOption replace("replace", QStringLiteral("Replace an existing city of that name."));
  const QCommandLineOption publish(
      "publish", QStringLiteral("Load the city NAME of PROGRAM_DIR into this PostgreSQL database instead."),
      "CONNSTR");
  const QCommandLineOption nameTags(
      "name-tags",
      QStringLiteral(
          "The OpenStreetMap tags a name is taken from, first first (default name:zh-Hans,name:zh,name)."),
      "KEY,KEY,…");
  const QCommandLineOption allowApart(
      "allow-apart", QStringLiteral("Import sources whose extents lie more than 20 km apart all the same."));
  parser.addOptions({city, out, osm, gtfs, epsg, replace, nameTags, allowApart, publish});
  parser.process(app);
  // Without --out, the user's data folder when installed, the program's own folder in a build tree.
  const QString programDir = parser.isSet(out)
                                 ? parser.value(out)
                                 : qiwu::DefaultImportFolder(QCoreApplication::applicationDirPath());

  // Publishing sets GDAL up as the desks have it, to read the data set's layers as they do.
  if (parser.isSet(publish)) return Publish(parser.value(publish), parser.value(city), programDir);
  // OSM reads the extract, GPKG writes the layers, /vsizip/ opens zipped feeds; no other driver and no
  // network.
  LockDownGdal({QStringLiteral("OSM"), QStringLiteral("GPKG")}, {QStringLiteral("/vsizip/")});

  qiwu::import::ImportRequest request;
  request.city = parser.value(city).toStdString();
  request.programDir = programDir.toStdString();
  request.osm = parser.value(osm).toStdString();
  for (const QString& feed : parser.values(gtfs)) request.gtfs.push_back(feed.toStdString());
  request.replace = parser.isSet(replace);
  request.allowApart = parser.isSet(allowApart);
  if (parser.isSet(nameTags)) {
    request.nameKeys.clear();
    for (const QString& key : parser.value(nameTags).split(u',', Qt::SkipEmptyParts))
      request.nameKeys.push_back(key.trimmed().toStdString());
    for (const std::string& key : request.nameKeys)
      if (const std::string refusal = qiwu::import::osm::RefuseNameKey(key); !refusal.empty()) {
        Report("--name-tags: " + refusal);
        return 2;
      }
    if (request.nameKeys.empty()) {
      Report("--name-tags needs at least one key");
      return 2;
    }
  }
  // A city of the program's other data folders would hide the one written here, or be hidden by it.
  const auto same = [](const QString& a, const QString& b) {
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(b).absoluteFilePath());
  };
  const QStringList folders = qiwu::DataFolders(QCoreApplication::applicationDirPath());
  if (std::any_of(folders.begin(), folders.end(), [&](const QString& f) { return same(f, programDir); }))
    for (const QString& folder : folders)
      if (!same(folder, programDir)) request.otherDataFolders.push_back(folder.toStdString());
  bool numeric = true;
  if (parser.isSet(epsg)) request.epsg = parser.value(epsg).toInt(&numeric);
  if (!numeric || request.epsg < 0 || !parser.isSet(city) || (request.osm.empty() && request.gtfs.empty())) {
    Report("needs --city NAME and --osm or --gtfs (--epsg takes a number); see --help");
    return 2;
  }
  try {
    std::fputs(qiwu::import::ImportCity(request, Report).c_str(), stdout);
    return 0;
  } catch (const qiwu::import::InputError& bad) {
    Report(bad.what());
    return 1;
  } catch (const qiwu::import::ImportFailure& failure) {
    Report(failure.what());
    return failure.exitCode();
  } catch (const std::exception& failure) {
    // Out of memory, most likely: the temporary folders are removed on the way out all the same.
    Report(std::string("stopped: ") + failure.what());
    return 1;
  }
}
