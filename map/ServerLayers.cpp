#include "map/ServerLayers.h"

#include <gdal_priv.h>

#include <mutex>

#include "map/GdalLockDown.h"

namespace {

constexpr char kPrefix[] = "pg:";
constexpr char kLayerSchema[] = "qiwu_map";
// A fetch of features may wait this long on the server before the load fails.
constexpr int kFetchLimitMs = 5000;

std::mutex connectionMutex;
QString& Connection() {
  static QString connection;
  return connection;
}

}  // namespace

void SetServerLayerConnection(const QString& connection) {
  const std::lock_guard<std::mutex> lock(connectionMutex);
  Connection() = connection;
}

bool IsServerLayer(const QString& file) { return file.startsWith(QLatin1String(kPrefix)); }

QString ServerLayerTable(const QString& file) { return file.mid(int(sizeof kPrefix) - 1); }

MapResult OpenServerLayerSource(const QString& file, LayerSource& out) {
  QString connection;
  {
    const std::lock_guard<std::mutex> lock(connectionMutex);
    connection = Connection();
  }
  if (connection.isEmpty())
    return MapResult::Failure(kMapErrorReadFailed,
                              QStringLiteral("图层 %1 在数据库服务器上，但没有打开服务器城市。").arg(file));
  out.serverDriver = RegisterServerDriver();
  CPLStringList options;
  options.AddNameValue("ACTIVE_SCHEMA", kLayerSchema);
  options.AddNameValue("SCHEMAS", kLayerSchema);
  options.AddNameValue("PRELUDE_STATEMENTS",
                       QStringLiteral("SET default_transaction_read_only = on; SET statement_timeout = %1")
                           .arg(kFetchLimitMs)
                           .toUtf8()
                           .constData());
  const char* const drivers[] = {"PostgreSQL", nullptr};
  out.dataset.reset(GDALDataset::Open(("PG:" + connection).toUtf8().constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY,
                                      drivers, options.List()));
  if (!out.dataset)
    return MapResult::Failure(kMapErrorReadFailed, QStringLiteral("无法从数据库服务器读取图层 %1：%2")
                                                       .arg(file, QString::fromUtf8(CPLGetLastErrorMsg())));
  return {};
}
