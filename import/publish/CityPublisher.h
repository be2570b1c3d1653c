#pragma once
// Publishing a city data set to a PostgreSQL + PostGIS server, so that many desks read one copy:
// the database's tables keep their stored row order (an order column), the workspaces' layers
// become PostGIS tables (GiST-indexed, feature order kept), desks log in as a read-only role, and
// the data set gains data/<city>.pg and the server workspaces map/<city>/<city>.pg.gst and
// <city>2.pg.gst, beside the files, which stay.
#include <QString>

namespace publish {

// The role desks log in as: may read the city's tables and layers, nothing else.
inline constexpr char kDeskRole[] = "qiwu_desk";
// The schema of the layers, beside the tables in public (a feature type is both a table and a layer).
inline constexpr char kLayerSchema[] = "qiwu_map";

// Loads the data set city found under programDir into the database that connection (a libpq
// connection string or URI of a role that may create tables and roles) names, replacing an earlier
// publication in one transaction, and writes the .pg and .pg.gst files. The data set is untrusted: its
// layer files are opened as the desks open them (GDAL locked down, each file regular and inside
// map/<city>/, confined, bounded in time). False with message set on failure.
bool PublishCity(const QString& connection, const QString& city, const QString& programDir, QString& message);

// The connection string desks use: connection's host, hostaddr, port, dbname, sslmode and
// connect_timeout with user kDeskRole.
QString DeskConnection(const QString& connection);

}  // namespace publish
