#include "data/ServerCity.h"

#include <libpq-fe.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <memory>
#include <vector>

#include "data/CityPaths.h"
#include "kit/DataSetFile.h"

namespace qiwu {
namespace {

const QStringList kAllowedKeywords = {
    "host", "hostaddr", "port", "dbname", "user", "sslmode", "connect_timeout", "application_name"};

// Waiting for a server to answer a connection is bounded as opening a file is.
constexpr int kConnectSeconds = 30;
// A server that stops answering (a frozen host, a dropped link) is given up after about 5 s
// without an acknowledgement or a keepalive answer, on every connection of the program.
const std::pair<const char*, const char*> kLivenessParams[] = {{"keepalives", "1"},
                                                               {"keepalives_idle", "5"},
                                                               {"keepalives_interval", "2"},
                                                               {"keepalives_count", "2"},
                                                               {"tcp_user_timeout", "5000"}};

// libpq's sslmode values from the weakest to the strongest; -1 for any other text.
int SslModeRank(const QString& mode) {
  static const QStringList kModes = {"disable", "allow", "prefer", "require", "verify-ca", "verify-full"};
  return int(kModes.indexOf(mode));
}

struct OptionsDeleter {
  void operator()(PQconninfoOption* options) const { PQconninfoFree(options); }
};

QStringList Entries(const ServerParams& params, const QString& key) {
  for (const auto& [k, value] : params)
    if (k == key) return value.split(u',');
  return {};
}

}  // namespace

std::optional<ServerParams> ParseConnection(const QString& connection, QString& message) {
  char* error = nullptr;
  const std::unique_ptr<PQconninfoOption, OptionsDeleter> options(
      PQconninfoParse(connection.trimmed().toUtf8().constData(), &error));
  if (!options) {
    message = QStringLiteral("服务器连接串无法读取：") + QString::fromUtf8(error ? error : "").trimmed();
    PQfreemem(error);
    return std::nullopt;
  }
  ServerParams params;
  for (const PQconninfoOption* o = options.get(); o->keyword != nullptr; ++o)
    if (o->val != nullptr) params.emplace_back(QString::fromUtf8(o->keyword), QString::fromUtf8(o->val));
  return params;
}

std::optional<ServerParams> ParseServerCity(const QString& connection, QString& message) {
  std::optional<ServerParams> params = ParseConnection(connection, message);
  if (!params) return std::nullopt;
  for (const auto& [key, value] : *params) {
    if (!kAllowedKeywords.contains(key)) {
      message = QStringLiteral("服务器连接串不许使用“%1”。").arg(key);
      return std::nullopt;
    }
  }
  const QString unsafe = UnsafeValueKey(*params);
  if (!unsafe.isEmpty()) {
    message = QStringLiteral("服务器连接串中“%1”的值含有空白、引号、反斜杠或等号。").arg(unsafe);
    return std::nullopt;
  }
  for (const QString& host : Entries(*params, "host")) {
    if (host.startsWith(u'/') || host.startsWith(u'@')) {
      message = QStringLiteral("服务器连接串的 host 必须是主机名或地址：“%1”。").arg(host);
      return std::nullopt;
    }
  }
  const QStringList sslmode = Entries(*params, "sslmode");
  if (!sslmode.isEmpty() && SslModeRank(sslmode.join(u',')) < 0) {
    message = QStringLiteral("服务器连接串的 sslmode 无效：“%1”。").arg(sslmode.join(u','));
    return std::nullopt;
  }
  return params;
}

QString UnsafeValueKey(const ServerParams& params) {
  for (const auto& [key, value] : params) {
    for (const QChar c : value)
      if (c.isSpace() || c.category() == QChar::Other_Control || c == u'\'' || c == u'"' || c == u'\\' ||
          c == u'=')
        return key;
  }
  return {};
}

ServerParams ConnectionParams(const ServerParams& params, ConnectionUse use, const QString& userSslMode) {
  ServerParams out;
  QString sslmode = QStringLiteral("prefer");
  if (SslModeRank(userSslMode) > SslModeRank(sslmode)) sslmode = userSslMode;
  int connectSeconds = kConnectSeconds;
  for (const auto& [key, value] : params) {
    if (key == "sslmode") {
      if (SslModeRank(value) > SslModeRank(sslmode)) sslmode = value;
    } else if (key == "connect_timeout") {
      bool number = false;
      const int seconds = value.toInt(&number);
      if (number && seconds > 0 && seconds < connectSeconds) connectSeconds = seconds;
    } else if (key != "application_name" || use == ConnectionUse::Libpq) {
      out.emplace_back(key, value);
    }
  }
  if (use == ConnectionUse::Libpq)
    out.emplace_back(QStringLiteral("client_encoding"), QStringLiteral("UTF8"));
  out.emplace_back(QStringLiteral("sslmode"), sslmode);
  out.emplace_back(QStringLiteral("connect_timeout"), QString::number(connectSeconds));
  for (const auto& [key, value] : kLivenessParams)
    out.emplace_back(QString::fromLatin1(key), QString::fromLatin1(value));
  return out;
}

pg_conn* ConnectWith(const ServerParams& params) {
  std::vector<QByteArray> text;
  for (const auto& [key, value] : params) {
    text.push_back(key.toUtf8());
    text.push_back(value.toUtf8());
  }
  std::vector<const char*> keys;
  std::vector<const char*> values;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    keys.push_back(text[i].constData());
    values.push_back(text[i + 1].constData());
  }
  keys.push_back(nullptr);
  values.push_back(nullptr);
  return PQconnectdbParams(keys.data(), values.data(), 0);
}

QString ConnectionText(const ServerParams& params) {
  QStringList parts;
  for (const auto& [key, value] : params) parts << key + QStringLiteral("='") + value + u'\'';
  return parts.join(u' ');
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

}  // namespace qiwu
