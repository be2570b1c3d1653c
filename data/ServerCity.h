#pragma once
// A server city: data/<city>.pg names a PostgreSQL server that holds the city's tables and layers.
// The file comes with the data set, so it is untrusted: it may only say which server and database
// to reach and how, never where a password, key or service file lies, and only a server that the
// desk's own user has listed may be reached.
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

namespace qiwu {

// The connection keywords a .pg file may give, with their values, in file order.
using ServerParams = std::vector<std::pair<QString, QString>>;

// Reads a libpq connection string (key=value pairs or a postgresql:// URI). Null on a text libpq
// cannot read or a keyword outside host, hostaddr, port, dbname, user, sslmode, connect_timeout
// and application_name, or a host given as a socket folder; message then names the reason.
std::optional<ServerParams> ParseServerCity(const QString& connection, QString& message);

// The servers ("host:port") the connection string would reach: every host or hostaddr entry with
// its port (5432 when none is given). Empty when it names no host (libpq would use a local socket).
QStringList ServersNamed(const ServerParams& params);

// The user's list of servers a desk may reach: one host:port a line, blank lines and lines
// starting with '#' ignored. Kept in the user's configuration folder (qiwu/servers).
QString AllowedServersPath();
QStringList ReadAllowedServers(const QString& path);

// True when every server of params is listed in allowed; otherwise message names the first one
// that is not.
bool ServersAllowed(const ServerParams& params, const QStringList& allowed, QString& message);

// data/<city>.pg beside the program.
QString ServerCityPath(const QString& programDir, const QString& city);
// True when the city is served from a server: data/<city>.pg is a regular file inside data/.
// Such a city is complete without data/<city>.mdb; where both exist the server is used.
bool HasServerCity(const QString& programDir, const QString& city);
// The database the program opens for the city: the .pg file when there is one, else the .mdb.
QString CityDatabasePath(const QString& programDir, const QString& city);
// The city's main or overview workspace: the server workspace (<city>.pg.gst, <city>2.pg.gst)
// for a server city, else the file workspace.
QString CityWorkspacePath(const QString& programDir, const QString& city, bool overview);

}  // namespace qiwu
