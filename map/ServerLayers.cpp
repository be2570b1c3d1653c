#include "map/ServerLayers.h"

#include <gdal_priv.h>

#include "map/GdalLockDown.h"

namespace {

constexpr char kPrefix[] = "pg:";
constexpr char kLayerSchema[] = "qiwu_map";
// A fetch of features may wait this long on the server before the load fails.
constexpr int kFetchLimitMs = 5000;

thread_local ServerLayerSession* session = nullptr;

}  // namespace

bool IsServerLayer(const QString& file) { return file.startsWith(QLatin1String(kPrefix)); }

QString ServerLayerTable(const QString& file) { return file.mid(int(sizeof kPrefix) - 1); }

Outcome OpenServerLayerSource(const QString& file, LayerSource& out) {
  const QString connection = session ? session->connection_ : QString();
  if (connection.isEmpty())
    return Outcome::Failure(kMapErrorReadFailed,
                            QStringLiteral("图层 %1 在数据库服务器上，但没有打开服务器城市。").arg(file));
  if (session && session->shared_) {
    out.server = session->shared_;
    return {};
  }
  const std::shared_ptr<void> driver = RegisterServerDriver();
  CPLStringList options;
  options.AddNameValue("ACTIVE_SCHEMA", kLayerSchema);
  options.AddNameValue("SCHEMAS", kLayerSchema);
  options.AddNameValue("PRELUDE_STATEMENTS",
                       QStringLiteral("SET default_transaction_read_only = on; SET statement_timeout = %1")
                           .arg(kFetchLimitMs)
                           .toUtf8()
                           .constData());
  const char* const drivers[] = {"PostgreSQL", nullptr};
  GDALDataset* dataset = GDALDataset::Open(("PG:" + connection).toUtf8().constData(),
                                           GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers, options.List());
  if (!dataset)
    return Outcome::Failure(kMapErrorReadFailed, QStringLiteral("无法从数据库服务器读取图层 %1：%2")
                                                     .arg(file, QString::fromUtf8(CPLGetLastErrorMsg())));
  // The driver stays registered until the connection closes.
  out.server.reset(dataset, [driver](GDALDataset* open) { GDALClose(GDALDataset::ToHandle(open)); });
  if (session) session->shared_ = out.server;
  return {};
}

ServerLayerSession::ServerLayerSession(const QString& connection) : connection_(connection), outer_(session) {
  session = this;
}

ServerLayerSession::~ServerLayerSession() { session = outer_; }

LoadBudget* ServerLayerSession::CurrentBudget() { return session ? &session->budget_ : nullptr; }
