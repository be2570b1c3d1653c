#include "data/ServerCity.h"

#include <libpq-fe.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <memory>

#include "data/CityPaths.h"
#include "kit/DataSetFile.h"

namespace qiwu {
namespace {

const QStringList kAllowedKeywords = {
    "host", "hostaddr", "port", "dbname", "user", "sslmode", "connect_timeout", "application_name"};

struct OptionsDeleter {
  void operator()(PQconninfoOption* options) const { PQconninfoFree(options); }
};

QStringList Entries(const ServerParams& params, const QString& key) {
  for (const auto& [k, value] : params)
    if (k == key) return value.split(u',');
  return {};
}

}  // namespace

std::optional<ServerParams> ParseServerCity(const QString& connection, QString& message) {
  char* error = nullptr;
  const std::unique_ptr<PQconninfoOption, OptionsDeleter> options(
      PQconninfoParse(connection.trimmed().toUtf8().constData(), &error));
  if (!options) {
    message = QStringLiteral("服务器连接串无法读取：") + QString::fromUtf8(error ? error : "").trimmed();
    PQfreemem(error);
    return std::nullopt;
  }
  ServerParams params;
  for (const PQconninfoOption* o = options.get(); o->keyword != nullptr; ++o) {
    if (o->val == nullptr) continue;
    const QString key = QString::fromUtf8(o->keyword);
    const QString value = QString::fromUtf8(o->val);
    if (!kAllowedKeywords.contains(key)) {
      message = QStringLiteral("服务器连接串不许使用“%1”。").arg(key);
      return std::nullopt;
    }
    params.emplace_back(key, value);
  }
  for (const QString& host : Entries(params, "host")) {
    if (host.startsWith(u'/') || host.startsWith(u'@')) {
      message = QStringLiteral("服务器连接串的 host 必须是主机名或地址：“%1”。").arg(host);
      return std::nullopt;
    }
  }
  return params;
}

QStringList ServersNamed(const ServerParams& params) {
  // libpq takes hostaddr over host entry by entry; either names the machine reached.
  QStringList hosts = Entries(params, "hostaddr");
  const QStringList names = Entries(params, "host");
  for (int i = 0; i < names.size(); ++i) {
    if (i >= hosts.size())
      hosts << names[i];
    else if (hosts[i].isEmpty())
      hosts[i] = names[i];
  }
  const QStringList ports = Entries(params, "port");
  QStringList servers;
  for (int i = 0; i < hosts.size(); ++i) {
    const QString port = ports.size() == 1 ? ports[0] : (i < ports.size() ? ports[i] : QString());
    servers << hosts[i].trimmed() + u':' +
                   (port.trimmed().isEmpty() ? QStringLiteral("5432") : port.trimmed());
  }
  return servers;
}

QString AllowedServersPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/qiwu/servers");
}

QStringList ReadAllowedServers(const QString& path) {
  QByteArray text;
  ReportRefusedUserFile(ReadUserFile(path, text));
  QStringList servers;
  for (const QByteArray& line : text.split('\n')) {
    const QString server = QString::fromUtf8(line).trimmed();
    if (!server.isEmpty() && !server.startsWith(u'#')) servers << server;
  }
  return servers;
}

bool ServersAllowed(const ServerParams& params, const QStringList& allowed, QString& message) {
  const QStringList servers = ServersNamed(params);
  if (servers.isEmpty()) {
    message = QStringLiteral("服务器连接串没有给出服务器（host 或 hostaddr）。");
    return false;
  }
  for (const QString& server : servers) {
    if (!allowed.contains(server, Qt::CaseInsensitive)) {
      message = QStringLiteral("服务器 %1 不在本机用户允许的服务器列表（%2）中。")
                    .arg(server, AllowedServersPath());
      return false;
    }
  }
  return true;
}

QString ServerCityPath(const QString& programDir, const QString& city) {
  return QDir(programDir).filePath("data/" + city + ".pg");
}

bool HasServerCity(const QString& programDir, const QString& city) {
  return CheckDataSetFile(ServerCityPath(programDir, city), DataSetRoots(programDir, city)).ok();
}

QString CityDatabasePath(const QString& programDir, const QString& city) {
  return HasServerCity(programDir, city) ? ServerCityPath(programDir, city) : DatabasePath(programDir, city);
}

QString CityWorkspacePath(const QString& programDir, const QString& city, bool overview) {
  const QString file =
      overview ? OverviewWorkspacePath(programDir, city) : MainWorkspacePath(programDir, city);
  return HasServerCity(programDir, city) ? file.chopped(4) + QStringLiteral(".pg.gst") : file;
}

}  // namespace qiwu
