#include "data/CityPlace.h"

#include "data/CityPaths.h"
#include "data/ServerCity.h"

namespace qiwu {

CityPlace ResolveCity(const QString& folder, const QString& name) {
  CityPlace city;
  city.name = name;
  city.folder = folder;
  city.onServer = HasServerCity(folder, name);
  city.database = city.onServer ? ServerCityPath(folder, name) : DatabasePath(folder, name);
  city.mainWorkspace = MainWorkspacePath(folder, name);
  city.overviewWorkspace = OverviewWorkspacePath(folder, name);
  if (city.onServer) {
    city.mainWorkspace = city.mainWorkspace.chopped(4) + QStringLiteral(".pg.gst");
    city.overviewWorkspace = city.overviewWorkspace.chopped(4) + QStringLiteral(".pg.gst");
  }
  return city;
}

}  // namespace qiwu
