#pragma once
// A city as the program opens it: resolved once, from the folder that holds it and its name, into
// where its database and workspaces lie and whether a database server serves it. app/ and cli/ hand
// this value down; map/ gets plain paths from it, and the server connection from the open database.
#include <QString>

namespace qiwu {

struct CityPlace {
  QString name;
  QString folder;             // the program directory holding map/<name>/ and data/
  bool onServer = false;      // data/<name>.pg names the server holding its tables and layers
  QString database;           // data/<name>.pg on a server, else data/<name>.mdb
  QString mainWorkspace;      // map/<name>/<name>.gst; <name>.pg.gst on a server
  QString overviewWorkspace;  // map/<name>/<name>2.gst; <name>2.pg.gst on a server
};

// Where serving the city asks once: a city with data/<name>.pg is served from its server even
// where data/<name>.mdb exists too.
CityPlace ResolveCity(const QString& folder, const QString& name);

}  // namespace qiwu
