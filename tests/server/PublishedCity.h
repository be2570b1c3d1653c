#pragma once
// The demo city published to the tests' cluster (ServerCluster.h) once per test program, with
// the user's server list allowing it; a file database and a server database opened on it.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "data/CityDatabase.h"

struct PublishedCity {
  QTemporaryDir programDir;
  QTemporaryDir configDir;  // XDG_CONFIG_HOME: the user's server list
  CityDatabase files;
  CityDatabase server;
  QString failure;  // why the city could not be published or opened; empty when it was

  PublishedCity();
  // Writes the user's list of servers a desk may reach.
  void AllowServers(const QStringList& servers) const;
  // Opens a .pg file holding text in a fresh database object; the failure, or none.
  Outcome OpenServerFile(const QString& text) const;
};

PublishedCity& City();
