#include "import/publish/CityPublisher.h"

#include <gdal_priv.h>
#include <gdal_utils.h>
#include <libpq-fe.h>
#include <ogrsf_frmts.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtGlobal>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "data/CityDatabase.h"
#include "data/CityPaths.h"
#include "data/ServerCity.h"
#include "data/ServerStatement.h"
#include "data/SqliteHandles.h"
#include "map/DataSetConfinement.h"
#include "map/GdalLockDown.h"
#include "map/LayerSource.h"
#include "map/WorkspaceFile.h"

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

// A layer file of a workspace: file relative to folder (map/<city>/), and the layer inside it.
struct LayerFile {
  QString folder;
  QString file;
  QString sourceLayer;  // empty: the first
};

// Opens a layer file as the desks open it: a regular file inside its folder, read under confinement
// (which must outlive opened), each step bounded in time.
bool OpenConfined(const LayerFile& source, DataSetConfinement& confinement, LayerSource& opened,
                  QString& message) {
  const Outcome open = OpenLayerSource(source.folder, source.file, confinement, opened);
  if (!open.ok()) message = open.description;
  return open.ok();
}

// The name of the first layer of a layer file, opened under the data set's rules.
bool FirstLayerName(const LayerFile& source, QString& name, QString& message) {
  DataSetConfinement confinement({source.folder});
  LayerSource opened;
  if (!OpenConfined(source, confinement, opened, message)) return false;
  if (opened.Dataset().GetLayerCount() == 0) {
    message = QStringLiteral("图层文件 %1 中没有图层。").arg(source.file);
    return false;
  }
  name = QString::fromUtf8(opened.Dataset().GetLayer(0)->GetName());
  return true;
}

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
      if (type == SQLITE_FLOAT) {
        // SQLite's own text of a fraction keeps 15 digits; 17 give the same double back.
        values[c + 1] = QByteArray::number(sqlite3_column_double(s, int(c)), 'g', 17);
      } else {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(s, int(c)));
        values[c + 1] = QByteArray(bytes ? bytes : "", sqlite3_column_bytes(s, int(c)));
      }
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

// Renews the stall bound of the confinement while GDAL copies features.
int RenewWhileCopying(double, const char*, void* confinement) {
  static_cast<DataSetConfinement*>(confinement)->Renew();
  return TRUE;
}

// Copies one layer of a data set's layer file into schema, opened as the desks open it; its features
// keep their order.
bool CopyLayer(const LayerFile& source, const QString& layer, const QString& gdalConnection,
               const char* schema, QString& message) {
  DataSetConfinement confinement({source.folder});
  LayerSource opened;
  if (!OpenConfined(source, confinement, opened, message)) return false;
  const QByteArray layerName =
      source.sourceLayer.isEmpty()
          ? QByteArray(opened.Dataset().GetLayer(0) ? opened.Dataset().GetLayer(0)->GetName() : "")
          : source.sourceLayer.toUtf8();
  const QByteArray newName = layer.toUtf8();
  const QByteArray schemaOption = QByteArray("SCHEMA=") + schema;
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
                              "-nln",
                              newName.constData(),
                              layerName.constData(),
                              nullptr};
  std::unique_ptr<GDALVectorTranslateOptions, decltype(&GDALVectorTranslateOptionsFree)> options(
      GDALVectorTranslateOptionsNew(const_cast<char**>(argv), nullptr), &GDALVectorTranslateOptionsFree);
  GDALVectorTranslateOptionsSetProgress(options.get(), RenewWhileCopying, &confinement);
  GDALDatasetH sources[] = {GDALDataset::ToHandle(&opened.Dataset())};
  int failed = 0;
  CPLErrorReset();
  // Only the schema is seen, so a table of the same name in public is never taken for the layer.
  const QString target = "PG:" + gdalConnection +
                         QStringLiteral(" active_schema=%1 schemas=%1").arg(QString::fromLatin1(schema));
  GDALDatasetH out =
      GDALVectorTranslate(target.toUtf8().constData(), nullptr, 1, sources, options.get(), &failed);
  if (out) GDALClose(out);
  if (const QString refused = confinement.Refused(); !refused.isEmpty()) {
    message = QStringLiteral("图层文件 %1 要读取数据集文件夹之外、不是普通文件或在网络上的“%2”，不予发布。")
                  .arg(source.file, refused);
    return false;
  }
  if (confinement.Stalled()) {
    message = QStringLiteral("图层文件 %1 读取时超过 %2 秒没有进展，不予发布。")
                  .arg(source.file)
                  .arg(DataSetConfinement::kStallSeconds);
    return false;
  }
  if (out == nullptr || failed) {
    message =
        QStringLiteral("无法把图层“%1”写入服务器：%2").arg(layer, QString::fromUtf8(CPLGetLastErrorMsg()));
    return false;
  }
  return true;
}

// The server workspace beside a file workspace: every layer read from table pg:<layer> of the city's
// server. Adds the layers it names to layers, keyed by table, with the file each comes from.
bool ServerWorkspace(const QString& gstPath, std::map<QString, LayerFile>& layers, WorkspaceFile& workspace,
                     QString& message) {
  if (const Outcome read = ReadWorkspaceFile(gstPath, workspace); !read.ok()) {
    message = read.description;
    return false;
  }
  const QString folder = QFileInfo(gstPath).absolutePath();
  for (WorkspaceLayerEntry& entry : workspace.layers) {
    const LayerFile source{folder, entry.file, entry.sourceLayer};
    QString table = entry.sourceLayer;
    if (table.isEmpty() && !FirstLayerName(source, table, message)) return false;
    const auto [at, added] = layers.emplace(table, source);
    if (!added && (at->second.folder != source.folder || at->second.file != source.file)) {
      message = QStringLiteral("两个图层文件都有名为“%1”的图层。").arg(table);
      return false;
    }
    entry.file = QStringLiteral("pg:") + table;
    entry.sourceLayer.clear();
  }
  return true;
}

}  // namespace

QString DeskConnection(const QString& connection) {
  const QStringList kept = {"host", "hostaddr", "port", "dbname", "sslmode", "connect_timeout"};
  QString ignored;
  qiwu::ServerParams desk;
  for (const auto& [key, value] : qiwu::ParseConnection(connection, ignored).value_or(qiwu::ServerParams{}))
    if (kept.contains(key)) desk.emplace_back(key, value);
  desk.emplace_back(QStringLiteral("user"), QString::fromLatin1(kDeskRole));
  return qiwu::ConnectionText(desk);
}

bool PublishCity(const QString& connection, const QString& city, const QString& programDir,
                 QString& message) {
  const std::optional<qiwu::ServerParams> params = qiwu::ParseConnection(connection, message);
  if (!params) return false;
  if (const QString unsafe = qiwu::UnsafeValueKey(*params); !unsafe.isEmpty()) {
    message = QStringLiteral(
                  "连接串中“%1”的值含有空白、引号、反斜杠或等号，GDAL 无法可靠读取；"
                  "密码请放在 ~/.pgpass 或环境变量 PGPASSWORD 中。")
                  .arg(unsafe);
    return false;
  }
  const QString userSslMode = qEnvironmentVariable("PGSSLMODE");
  const QString gdalConnection =
      qiwu::ConnectionText(qiwu::ConnectionParams(*params, qiwu::ConnectionUse::Gdal, userSslMode));

  LockDownGdal();  // the data set's layers are read as the desks read them
  const std::shared_ptr<void> serverDriver = RegisterServerDriver();  // the layers' way to the server
  CityDatabase database;
  Outcome error;
  if (!database.Open(qiwu::DatabasePath(programDir, city), error)) {
    message = error.description;
    return false;
  }
  std::map<QString, LayerFile> layers;
  std::vector<std::pair<QString, WorkspaceFile>> workspaces;  // the server workspaces, by path
  for (const QString& gst :
       {qiwu::MainWorkspacePath(programDir, city), qiwu::OverviewWorkspacePath(programDir, city)}) {
    WorkspaceFile workspace;
    if (!ServerWorkspace(gst, layers, workspace, message)) return false;
    workspaces.emplace_back(gst.chopped(4) + ".pg.gst", std::move(workspace));
  }

  const Connection conn(
      qiwu::ConnectWith(qiwu::ConnectionParams(*params, qiwu::ConnectionUse::Libpq, userSslMode)));
  if (PQstatus(conn.get()) != CONNECTION_OK) {
    message =
        QStringLiteral("无法连接数据库服务器：") + QString::fromUtf8(PQerrorMessage(conn.get())).trimmed();
    return false;
  }
  // The layers go to a schema of their own first; the one transaction below then replaces an earlier
  // publication whole, or leaves it as it was.
  const QString staging = QString::fromLatin1(kLayerSchema) + QStringLiteral("_new");
  if (!Run(conn.get(),
           QStringLiteral("set client_min_messages = warning; create extension if not exists postgis; "
                          "drop schema if exists %1 cascade; create schema %1")
               .arg(staging),
           message))
    return false;
  for (const auto& [layer, source] : layers) {
    if (!CopyLayer(source, layer, gdalConnection, staging.toLatin1().constData(), message)) {
      QString ignored;
      Run(conn.get(), QStringLiteral("drop schema if exists %1 cascade").arg(staging), ignored);
      return false;
    }
  }

  const QString role = kDeskRole;
  const QString setup =
      QStringLiteral(
          "begin; create collation if not exists %1 (provider = icu, locale = '%2', deterministic = true); "
          "do $$ begin if not exists (select from pg_roles where rolname = '%3') then "
          "create role %3 login nosuperuser nocreatedb nocreaterole noreplication; end if; end $$; "
          "do $$ declare t text; begin for t in select table_name from information_schema.columns "
          "where table_schema = 'public' and column_name = '%4' loop "
          "execute format('drop table public.%I cascade', t); end loop; end $$")
          .arg(qiwu::kServerCollation, qiwu::kServerCollationLocale, role, qiwu::kRowOrderColumn);
  Outcome ignored;
  const std::unique_ptr<ResultSet> tables =
      database.Query(QStringLiteral("select name from sqlite_schema where type = 'table'"), ignored);
  if (!tables || !Run(conn.get(), setup, message)) return false;
  for (const std::vector<QVariant>& row : tables->Rows())
    if (!CopyTable(database.Handle(), conn.get(), row.at(0).toString(), message)) return false;
  const QString swapAndGrant =
      QStringLiteral(
          "drop schema if exists %1 cascade; alter schema %2 rename to %1; "
          "revoke create on schema public from public; grant usage on schema public, %1 to %3; "
          "grant select on all tables in schema public, %1 to %3; grant select on spatial_ref_sys, "
          "geometry_columns to %3; alter role %3 set default_transaction_read_only = on; commit")
          .arg(kLayerSchema, staging, role);
  if (!Run(conn.get(), swapAndGrant, message) || !Run(conn.get(), "vacuum analyze", message)) return false;

  for (const auto& [path, workspace] : workspaces) {
    if (const Outcome written = WriteWorkspaceFile(path, workspace); !written.ok()) {
      message = written.description;
      return false;
    }
  }
  QFile pg(qiwu::ServerCityPath(programDir, city));
  if (!pg.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      pg.write((DeskConnection(connection) + "\n").toUtf8()) < 0) {
    message = QStringLiteral("无法写入 %1。").arg(pg.fileName());
    return false;
  }
  return true;
}

}  // namespace publish
