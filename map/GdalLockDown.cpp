#include "map/GdalLockDown.h"

#include <cpl_http.h>
#include <cpl_vsi_virtual.h>
#include <gdal_priv.h>
#include <ogr_srs_api.h>

#include <cerrno>
#include <mutex>
#include <string>

#include "map/DataSetConfinement.h"

namespace {

// Stands in for a network or archive file system: nothing exists there and nothing opens.
class RefusingFilesystem final : public VSIFilesystemHandler {
 public:
  VSIVirtualHandle* Open(const char* path, const char*, bool setError, CSLConstList) override {
    NoteRefusedAccess(QString::fromUtf8(path));
    if (setError) CPLError(CE_Failure, CPLE_OpenFailed, "refused: %s is not a local file", path);
    errno = EACCES;
    return nullptr;
  }
  int Stat(const char* path, VSIStatBufL*, int) override {
    NoteRefusedAccess(QString::fromUtf8(path));
    errno = EACCES;
    return -1;
  }
};

CPLHTTPResult* RefuseHttp(const char* url, CSLConstList, GDALProgressFunc, void*, CPLHTTPFetchWriteFunc,
                          void*, void*) {
  NoteRefusedAccess(QString::fromUtf8(url));
  auto* result = static_cast<CPLHTTPResult*>(CPLCalloc(1, sizeof(CPLHTTPResult)));
  result->nStatus = 1;
  result->pszErrBuf = CPLStrdup("network access is disabled");
  return result;
}

constexpr char kServerDriver[] = "PostgreSQL";
GDALDriver* serverDriverAside = nullptr;  // deregistered, kept for RegisterServerDriver

void KeepOnly(const QStringList& drivers) {
  GDALDriverManager* manager = GetGDALDriverManager();
  for (int i = manager->GetDriverCount() - 1; i >= 0; --i) {
    GDALDriver* driver = manager->GetDriver(i);
    const QString name = QString::fromUtf8(driver->GetDescription());
    if (drivers.contains(name)) continue;
    manager->DeregisterDriver(driver);
    if (name == QLatin1String(kServerDriver))
      serverDriverAside = driver;
    else
      delete driver;
  }
}

}  // namespace

const QStringList& CityLayerDrivers() {
  static const QStringList drivers{QStringLiteral("GPKG"), QStringLiteral("ESRI Shapefile"),
                                   QStringLiteral("MapInfo File"), QStringLiteral("GeoJSON"),
                                   QStringLiteral("OGR_VRT")};
  return drivers;
}

void LockDownGdal(const QStringList& keepDrivers, const QStringList& keepArchives) {
  // Only archives: a network file system is never kept.
  static const QStringList archives{QStringLiteral("/vsizip/"), QStringLiteral("/vsitar/"),
                                    QStringLiteral("/vsigzip/")};
  static std::once_flag done;
  std::call_once(done, [&] {
    GDALAllRegister();
    KeepOnly(keepDrivers);
    char** prefixes = VSIFileManager::GetPrefixes();
    for (char** prefix = prefixes; prefix && *prefix; ++prefix) {
      const QString name = QString::fromUtf8(*prefix);
      const bool kept =
          name == QStringLiteral("/vsimem/") || (archives.contains(name) && keepArchives.contains(name));
      if (!kept) VSIFileManager::InstallHandler(*prefix, new RefusingFilesystem);
    }
    CSLDestroy(prefixes);
    CPLHTTPSetFetchCallback(RefuseHttp, nullptr);
    OSRSetPROJEnableNetwork(FALSE);
    InstallDataSetConfinement();
  });
}

std::shared_ptr<void> RegisterServerDriver() {
  LockDownGdal();
  static std::mutex mutex;
  static std::weak_ptr<void> registered;
  const std::lock_guard<std::mutex> lock(mutex);
  if (std::shared_ptr<void> held = registered.lock()) return held;
  if (serverDriverAside == nullptr) return std::make_shared<int>(0);  // kept registered, or none at all
  GetGDALDriverManager()->RegisterDriver(serverDriverAside);
  std::shared_ptr<void> held(serverDriverAside, [](void* driver) {
    const std::lock_guard<std::mutex> lock(mutex);
    GetGDALDriverManager()->DeregisterDriver(static_cast<GDALDriver*>(driver));
  });
  registered = held;
  return held;
}
