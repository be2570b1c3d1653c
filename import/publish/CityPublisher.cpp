#include "import/publish/CityPublisher.h"

#include <gdal_priv.h>
#include <gdal_utils.h>
#include <libpq-fe.h>
#include <ogrsf_frmts.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <map>
#include <memory>
#include <vector>

#include "data/CityDatabase.h"
#include "data/CityPaths.h"
#include "data/ServerCity.h"
#include "data/ServerStatement.h"
#include "data/SqliteHandles.h"
#include "map/GdalLockDown.h"
#include "map/Workspace.h"

namespace publish {
namespace {

struct ConnectionDeleter {
  void operator()(PGconn* c) const { PQfinish(c); }
};
struct ResultDeleter {
  void operator()(PGresult* r) const { PQclear(r); }
};
using Connection = std::unique_ptr<PGconn, ConnectionDeleter>;
using Result = std::unique_ptr<PGresult, ResultDeleter>;

// A name for PostgreSQL: Latin letters lower-cased (as the server folds the unquoted names of the
// program's statements), quoted.
QString Ident(const QString& name) {
  QString lowered = name;
  for (QChar& c : lowered)
    if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + (u'a' - u'A'));
  return u'"' + lowered.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString Literal(QString text) { return u'\'' + text.replace(u'\'', QStringLiteral("''")) + u'\''; }

bool Run(PGconn* conn, const QString& sql, QString& message) {
  const Result r(PQexec(conn, sql.toUtf8().constData()));
  const ExecStatusType status = PQresultStatus(r.get());
  if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return true;
  message = QStringLiteral("服务器拒绝了语句：") + QString::fromUtf8(PQerrorMessage(conn)).trimmed();
  return false;
}

// The server type of a column: the narrowest that holds every stored value exactly.
enum class ColumnType { Integer, Real, Bytes, Text };

const char* TypeName(ColumnType type) {
  switch (type) {
    case ColumnType::Integer:
      return "bigint";
    case ColumnType::Real:
      return "double precision";
    case ColumnType::Bytes:
      return "bytea";
    case ColumnType::Text:
      break;
  }
  return "text";
}

struct Column {
  QString name;
  ColumnType type = ColumnType::Integer;
};

ColumnType Widen(ColumnType now, int sqliteType, bool first) {
  const ColumnType value = sqliteType == SQLITE_INTEGER ? ColumnType::Integer
                           : sqliteType == SQLITE_FLOAT ? ColumnType::Real
                           : sqliteType == SQLITE_BLOB  ? ColumnType::Bytes
                                                        : ColumnType::Text;
  if (first || now == value) return value;
  if ((now == ColumnType::Integer && value == ColumnType::Real) ||
      (now == ColumnType::Real && value == ColumnType::Integer))
    return ColumnType::Real;
  return ColumnType::Text;
}

bool CopyTable(sqlite3* db, PGconn* conn, const QString& table, QString& message) {
  const QString select = "select * from \"" + QString(table).replace(u'"', QStringLiteral("\"\"")) + u'"';
  const SqliteStatement scan = Prepare(db, select.toStdString());
  if (!scan) {
    message = QStringLiteral("无法读取表“%1”。").arg(table);
    return false;
  }
  sqlite3_stmt* s = scan.get();
  std::vector<Column> columns(std::size_t(sqlite3_column_count(s)));
  std::vector<bool> seen(columns.size(), false);
  for (std::size_t c = 0; c < columns.size(); ++c)
    columns[c].name = QString::fromUtf8(sqlite3_column_name(s, int(c)));
  while (sqlite3_step(s) == SQLITE_ROW) {
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const int type = sqlite3_column_type(s, int(c));
      if (type == SQLITE_NULL) continue;
      columns[c].type = Widen(columns[c].type, type, !seen[c]);
      seen[c] = true;
    }
  }
  for (std::size_t c = 0; c < columns.size(); ++c)
    if (!seen[c]) columns[c].type = ColumnType::Text;

  QStringList declarations{QString(qiwu::kRowOrderColumn) + " bigint not null"};
  for (const Column& column : columns) {
    declarations << Ident(column.name) + u' ' + TypeName(column.type) +
                        (column.type == ColumnType::Text ? QString(" collate ") + qiwu::kServerCollation
                                                         : QString());
  }
  if (!Run(conn,
           "drop table if exists public." + Ident(table) + " cascade; create table public." + Ident(table) +
               " (" + declarations.join(", ") + ")",
           message))
    return false;

  QStringList placeholders;
  for (std::size_t c = 0; c <= columns.size(); ++c) placeholders << "$" + QString::number(c + 1);
  const QString insert = "insert into public." + Ident(table) + " values (" + placeholders.join(", ") + ")";
  const Result prepared(PQprepare(conn, "", insert.toUtf8().constData(), 0, nullptr));
  if (PQresultStatus(prepared.get()) != PGRES_COMMAND_OK) {
    message = QString::fromUtf8(PQerrorMessage(conn)).trimmed();
    return false;
  }
  sqlite3_reset(s);
  qlonglong row = 0;
  std::vector<QByteArray> values(columns.size() + 1);
  std::vector<const char*> pointers(values.size());
  std::vector<int> lengths(values.size());
  std::vector<int> formats(values.size(), 0);
  while (sqlite3_step(s) == SQLITE_ROW) {
    values[0] = QByteArray::number(++row);
    pointers[0] = values[0].constData();
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const int type = sqlite3_column_type(s, int(c));
      const auto* bytes = static_cast<const char*>(sqlite3_column_blob(s, int(c)));
      values[c + 1] = QByteArray(bytes ? bytes : "", sqlite3_column_bytes(s, int(c)));
      formats[c + 1] = columns[c].type == ColumnType::Bytes ? 1 : 0;
      if (formats[c + 1] == 0 && values[c + 1].contains('\0')) {
        message = QStringLiteral("表“%1”第 %2 行的文字含有 NUL 字符，服务器无法保存。").arg(table).arg(row);
        return false;
      }
      pointers[c + 1] = type == SQLITE_NULL ? nullptr : values[c + 1].constData();
      lengths[c + 1] = int(values[c + 1].size());
    }
    const Result r(
        PQexecPrepared(conn, "", int(values.size()), pointers.data(), lengths.data(), formats.data(), 0));
    if (PQresultStatus(r.get()) != PGRES_COMMAND_OK) {
      message = QStringLiteral("表“%1”第 %2 行：%3")
                    .arg(table)
                    .arg(row)
                    .arg(QString::fromUtf8(PQerrorMessage(conn)).trimmed());
      return false;
    }
  }
  QStringList indexes;
  for (const Column& column : columns)
    if (column.type == ColumnType::Text)
      indexes << "create index on public." + Ident(table) + " (" + qiwu::FoldedColumn(Ident(column.name)) +
                     ")";
  return indexes.isEmpty() || Run(conn, indexes.join("; "), message);
}

// Copies one layer of a source file into the layer schema; its features keep their order.
bool CopyLayer(const QString& source, const QString& layer, const QString& connection, QString& message) {
  const char* const allowed[] = {"GPKG", "ESRI Shapefile", "MapInfo File", "GeoJSON", nullptr};
  GDALDatasetUniquePtr in(
      GDALDataset::Open(source.toUtf8().constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY, allowed));
  if (!in) {
    message = QStringLiteral("无法打开图层文件 %1。").arg(source);
    return false;
  }
  const QByteArray layerName = layer.toUtf8();
  const QByteArray schemaOption = QByteArray("SCHEMA=") + kLayerSchema;
  const char* const argv[] = {"-f",
                              "PostgreSQL",
                              "-lco",
                              "LAUNDER=NO",
                              "-lco",
                              schemaOption.constData(),
                              "-lco",
                              "GEOMETRY_NAME=geom",
                              "-lco",
                              "SPATIAL_INDEX=GIST",
                              "-lco",
                              "FID=qiwu_fid",
                              "-preserve_fid",
                              layerName.constData(),
                              nullptr};
  std::unique_ptr<GDALVectorTranslateOptions, decltype(&GDALVectorTranslateOptionsFree)> options(
      GDALVectorTranslateOptionsNew(const_cast<char**>(argv), nullptr), &GDALVectorTranslateOptionsFree);
  GDALDatasetH sources[] = {GDALDataset::ToHandle(in.get())};
  int failed = 0;
  CPLErrorReset();
  // Only the layer schema is seen, so a table of the same name in public is never taken for the layer.
  const QString target = "PG:" + connection + " active_schema=" + kLayerSchema + " schemas=" + kLayerSchema;
  GDALDatasetH out =
      GDALVectorTranslate(target.toUtf8().constData(), nullptr, 1, sources, options.get(), &failed);
  if (out == nullptr || failed) {
    message =
        QStringLiteral("无法把图层“%1”写入服务器：%2").arg(layer, QString::fromUtf8(CPLGetLastErrorMsg()));
    if (out) GDALClose(out);
    return false;
  }
  GDALClose(out);
  return true;
}

// The server workspace beside a file workspace: every layer read from table pg:<layer> of the
// city's server. Returns the layers it names, keyed by table, with the file each comes from.
bool WriteServerWorkspace(const QString& gstPath, std::map<QString, QString>& layers, QString& message) {
  WorkspaceFile workspace;
  const MapResult read = ReadWorkspaceFile(gstPath, workspace);
  if (!read.ok) {
    message = read.description;
    return false;
  }
  QFile in(gstPath);
  if (!in.open(QIODevice::ReadOnly)) {
    message = in.errorString();
    return false;
  }
  QString text = QString::fromUtf8(in.readAll());
  const QString folder = QFileInfo(gstPath).absolutePath();
  for (const WorkspaceLayerEntry& entry : workspace.layers) {
    const QString source = QDir(folder).filePath(entry.file);
    QString table = entry.sourceLayer;
    if (table.isEmpty()) {
      const char* const allowed[] = {"GPKG", "ESRI Shapefile", "MapInfo File", "GeoJSON", nullptr};
      GDALDatasetUniquePtr ds(GDALDataset::Open(source.toUtf8().constData(), GDAL_OF_VECTOR, allowed));
      if (!ds || ds->GetLayerCount() == 0) {
        message = QStringLiteral("无法打开图层文件 %1。").arg(source);
        return false;
      }
      table = QString::fromUtf8(ds->GetLayer(0)->GetName());
    }
    const auto [at, added] = layers.emplace(table, source);
    if (!added && at->second != source) {
      message = QStringLiteral("两个图层文件都有名为“%1”的图层。").arg(table);
      return false;
    }
    const QString key = QStringLiteral("\"\\TABLE\\%1\\").arg(entry.number);
    text.replace(QRegularExpression("^" + QRegularExpression::escape(key) + "FILE\"\\s*=.*$",
                                    QRegularExpression::MultilineOption),
                 key + "FILE\" = \"pg:" + table + "\"");
    text.remove(QRegularExpression("^" + QRegularExpression::escape(key) + "LAYER\"\\s*=.*\\n?",
                                   QRegularExpression::MultilineOption));
  }
  QFile out(gstPath.chopped(4) + ".pg.gst");
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(text.toUtf8()) < 0) {
    message = QStringLiteral("无法写入 %1。").arg(out.fileName());
    return false;
  }
  return true;
}

}  // namespace

QString DeskConnection(const QString& connection) {
  const QStringList kept = {"host", "hostaddr", "port", "dbname", "sslmode", "connect_timeout"};
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(connection.toUtf8().constData(), &error);
  PQfreemem(error);
  QStringList parts;
  for (const PQconninfoOption* o = options; o && o->keyword; ++o) {
    const QString key = QString::fromUtf8(o->keyword);
    if (o->val && kept.contains(key))
      parts << key + u'=' + Literal(QString::fromUtf8(o->val).replace(u'\\', QStringLiteral("\\\\")));
  }
  PQconninfoFree(options);
  parts << QStringLiteral("user=") + kDeskRole;
  return parts.join(u' ');
}

bool PublishCity(const QString& connection, const QString& city, const QString& programDir,
                 QString& message) {
  const std::shared_ptr<void> serverDriver = RegisterServerDriver();  // the layers' way to the server
  CityDatabase database;
  DbError error;
  if (!database.Open(qiwu::DatabasePath(programDir, city), error)) {
    message = error.description;
    return false;
  }
  const Connection conn(PQconnectdb(connection.toUtf8().constData()));
  if (PQstatus(conn.get()) != CONNECTION_OK) {
    message =
        QStringLiteral("无法连接数据库服务器：") + QString::fromUtf8(PQerrorMessage(conn.get())).trimmed();
    return false;
  }
  const QString role = kDeskRole;
  const QString setup =
      QStringLiteral(
          "set client_min_messages = warning; create extension if not exists postgis; "
          "drop collation if exists %1; create collation %1 (provider = icu, locale = '%2', deterministic = "
          "true); "
          "drop schema if exists %3 cascade; create schema %3; "
          "do $$ begin if not exists (select from pg_roles where rolname = '%4') then "
          "create role %4 login nosuperuser nocreatedb nocreaterole noreplication; end if; end $$")
          .arg(qiwu::kServerCollation, qiwu::kServerCollationLocale, kLayerSchema, role);
  if (!Run(conn.get(), setup, message)) return false;

  DbError ignored;
  const std::unique_ptr<ResultSet> tables =
      database.Query(QStringLiteral("select name from sqlite_schema where type = 'table'"), ignored);
  if (!tables || !Run(conn.get(), "begin", message)) return false;
  for (const std::vector<QVariant>& row : tables->Rows())
    if (!CopyTable(database.Handle(), conn.get(), row.at(0).toString(), message)) return false;
  if (!Run(conn.get(), "commit", message)) return false;

  std::map<QString, QString> layers;
  for (const QString& gst :
       {qiwu::MainWorkspacePath(programDir, city), qiwu::OverviewWorkspacePath(programDir, city)})
    if (!WriteServerWorkspace(gst, layers, message)) return false;
  for (const auto& [layer, source] : layers)
    if (!CopyLayer(source, layer, connection, message)) return false;

  const QString grants =
      QStringLiteral(
          "revoke create on schema public from public; grant usage on schema public, %1 to %2; "
          "grant select on all tables in schema public, %1 to %2; grant select on spatial_ref_sys, "
          "geometry_columns to %2; alter role %2 set default_transaction_read_only = on")
          .arg(kLayerSchema, role);
  if (!Run(conn.get(), grants, message) || !Run(conn.get(), "vacuum analyze", message)) return false;

  QFile pg(qiwu::ServerCityPath(programDir, city));
  if (!pg.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      pg.write((DeskConnection(connection) + "\n").toUtf8()) < 0) {
    message = QStringLiteral("无法写入 %1。").arg(pg.fileName());
    return false;
  }
  return true;
}

}  // namespace publish
