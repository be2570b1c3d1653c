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

struct pg_conn;

namespace qiwu {

// The connection keywords a .pg file may give, with their values, in file order.
using ServerParams = std::vector<std::pair<QString, QString>>;

// Reads any libpq connection string (key=value pairs or a postgresql:// URI) into its keywords.
// Null on a text libpq cannot read; message then gives libpq's reason.
std::optional<ServerParams> ParseConnection(const QString& connection, QString& message);

// Reads a .pg file's connection string. Null on a text libpq cannot read, a keyword outside host,
// hostaddr, port, dbname, user, sslmode, connect_timeout and application_name, a host given as a
// socket folder, or a value no other parser could split differently from libpq (see
// UnsafeValueKey); message then names the reason.
std::optional<ServerParams> ParseServerCity(const QString& connection, QString& message);

// The first keyword whose value holds whitespace, a control character, a quote, a backslash or
// '=': GDAL's connection parser splits such text otherwise than libpq. Empty when there is none.
QString UnsafeValueKey(const ServerParams& params);

// Who a connection is for: libpq itself, or GDAL's PostgreSQL driver (which gets no
// application_name, and parses the text itself before libpq does).
enum class ConnectionUse { Libpq, Gdal };

// The keywords the program connects with, rebuilt from checked params: their own, sslmode never
// below the user's PGSSLMODE (userSslMode) nor below "prefer", a connect_timeout of at most 30 s,
// TCP keepalives with tcp_user_timeout so a silent server is noticed within seconds, and for libpq
// the client encoding UTF8.
ServerParams ConnectionParams(const ServerParams& params, ConnectionUse use, const QString& userSslMode);

// Connects with exactly these keywords (a dbname is never read as a connection string). The caller owns
// the connection, made or failed (PQstatus).
pg_conn* ConnectWith(const ServerParams& params);

// params as libpq's key='value' text, each value quoted; values are expected safe (UnsafeValueKey).
QString ConnectionText(const ServerParams& params);

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

}  // namespace qiwu
