#include "tests/server/PublishedCity.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "data/CityPaths.h"
#include "data/CityPlace.h"
#include "data/ServerCity.h"
#include "tests/server/ServerCluster.h"

namespace {
const QString kCity = QStringLiteral("栖坞市");
}

PublishedCity::PublishedCity() {
  const ServerCluster& cluster = ServerCluster::Shared();
  if (!cluster.Unavailable().isEmpty()) return;
  failure = cluster.PublishDemoCity(programDir.path(), "city");
  if (!failure.isEmpty()) return;
  qputenv("XDG_CONFIG_HOME", configDir.path().toUtf8());
  AllowServers({QString("127.0.0.1:%1").arg(cluster.Port())});
  Outcome error;
  if (!files.Open(qiwu::DatabasePath(programDir.path(), kCity), error) ||
      !server.Open(qiwu::ResolveCity(programDir.path(), kCity).database, error))
    failure += error.description;
}

void PublishedCity::AllowServers(const QStringList& servers) const {
  QDir().mkpath(configDir.path() + "/qiwu");
  QFile list(qiwu::AllowedServersPath());
  if (!list.open(QIODevice::WriteOnly | QIODevice::Truncate)) ADD_FAILURE() << "cannot write the server list";
  list.write((servers.join('\n') + '\n').toUtf8());
}

Outcome PublishedCity::OpenServerFile(const QString& text) const {
  const QString path = programDir.path() + "/data/试验市.pg";
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    ADD_FAILURE() << "cannot write " << path.toStdString();
  file.write(text.toUtf8());
  file.close();
  CityDatabase database;
  Outcome error;
  if (database.Open(path, error)) error = {};
  return error;
}

PublishedCity& City() {
  static PublishedCity* city = new PublishedCity();  // outlives the tests; the cluster goes at exit
  return *city;
}
