#include "data/ServerDatabase.h"

#include <libpq-fe.h>

#include <QFile>
#include <QFileInfo>
#include <vector>

#include "data/ServerCity.h"
#include "data/ServerStatement.h"
#include "data/SqliteGuards.h"
#include "kit/DataSetFile.h"

namespace {

constexpr qint64 kMaxServerFileBytes = 64 * 1024;
constexpr int kConnectSeconds = 30;
constexpr char kStatementTimeoutCode[] = "57014";  // query_canceled

struct ResultDeleter {
  void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

QString ServerText(const char* text) { return QString::fromUtf8(text ? text : "").trimmed(); }

// A value as the file side's engine gives it: integers, fractions, bytes or text.
QVariant Value(const PGresult* result, int row, int column) {
  if (PQgetisnull(result, row, column)) return {};
  const char* text = PQgetvalue(result, row, column);
  switch (PQftype(result, column)) {
    case 16:  // bool
      return qlonglong(text[0] == 't' ? 1 : 0);
    case 20:  // int8
    case 21:  // int2
    case 23:  // int4
      return QString::fromLatin1(text).toLongLong();
    case 700:   // float4
    case 701:   // float8
    case 1700:  // numeric
      return QString::fromLatin1(text).toDouble();
    case 17: {  // bytea
      std::size_t length = 0;
      unsigned char* bytes = PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &length);
      QByteArray value(reinterpret_cast<const char*>(bytes), qsizetype(length));
      PQfreemem(bytes);
      return value;
    }
    default:
      return QString::fromUtf8(text, PQgetlength(result, row, column));
  }
}

DbError OpenFailure(const QString& path, const QString& reason) {
  return DbError{QStringLiteral("无法打开服务器城市“%1”：%2").arg(QFileInfo(path).fileName(), reason),
                 kErrorOpenFailed};
}

}  // namespace

ServerDatabase::ServerDatabase(pg_conn* connection, QString connectionString)
    : conn_(connection), connection_(std::move(connectionString)) {}

ServerDatabase::~ServerDatabase() { PQfinish(conn_); }

std::unique_ptr<ServerDatabase> ServerDatabase::Connect(const QString& path, DbError& error) {
  const qiwu::DataSetFile file =
      qiwu::CheckDataSetFile(path, {QFileInfo(path).absolutePath()}, QString(), kMaxServerFileBytes);
  if (!file.ok()) {
    error = OpenFailure(path, file.error);
    return nullptr;
  }
  QFile text(file.path);
  if (!text.open(QIODevice::ReadOnly)) {
    error = OpenFailure(path, text.errorString());
    return nullptr;
  }
  const QString connection = QString::fromUtf8(text.readAll()).trimmed();
  QString message;
  const std::optional<qiwu::ServerParams> params = qiwu::ParseServerCity(connection, message);
  if (!params ||
      !qiwu::ServersAllowed(*params, qiwu::ReadAllowedServers(qiwu::AllowedServersPath()), message)) {
    error = OpenFailure(path, message);
    return nullptr;
  }

  std::vector<QByteArray> keys;
  std::vector<QByteArray> values;
  bool timeoutGiven = false;
  for (const auto& [key, value] : *params) {
    keys.push_back(key.toUtf8());
    values.push_back(value.toUtf8());
    if (key == "connect_timeout") {
      // Waiting for a server is bounded as opening a file is.
      timeoutGiven = true;
      bool number = false;
      const int seconds = value.trimmed().toInt(&number);
      if (!number || seconds <= 0 || seconds > kConnectSeconds)
        values.back() = QByteArray::number(kConnectSeconds);
    }
  }
  keys.push_back("client_encoding");
  values.push_back("UTF8");
  if (!timeoutGiven) {
    keys.push_back("connect_timeout");
    values.push_back(QByteArray::number(kConnectSeconds));
  }
  std::vector<const char*> keyPointers;
  std::vector<const char*> valuePointers;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    keyPointers.push_back(keys[i].constData());
    valuePointers.push_back(values[i].constData());
  }
  keyPointers.push_back(nullptr);
  valuePointers.push_back(nullptr);
  // expand_dbname 0: a dbname holding "key=value" text stays a database name.
  PGconn* conn = PQconnectdbParams(keyPointers.data(), valuePointers.data(), 0);
  std::unique_ptr<ServerDatabase> database(new ServerDatabase(conn, connection));
  if (PQstatus(conn) != CONNECTION_OK) {
    error = OpenFailure(path, ServerText(PQerrorMessage(conn)));
    return nullptr;
  }
  const QString setup = QStringLiteral(
                            "SET statement_timeout = %1; SET default_transaction_read_only = on; "
                            "SET search_path = public")
                            .arg(kStatementTimeLimit.count());
  const Result set(PQexec(conn, setup.toUtf8().constData()));
  if (PQresultStatus(set.get()) != PGRES_COMMAND_OK) {
    error = OpenFailure(path, ServerText(PQerrorMessage(conn)));
    return nullptr;
  }
  const Result tables(
      PQexec(conn, "select table_name from information_schema.tables where table_schema = 'public'"));
  for (int row = 0; row < PQntuples(tables.get()); ++row)
    database->tables_ << QString::fromUtf8(PQgetvalue(tables.get(), row, 0));
  return database;
}

std::unique_ptr<ResultSet> ServerDatabase::Query(const QString& jetStatement, DbError& error) const {
  const QByteArray sql = qiwu::TranslateForServer(jetStatement).toUtf8();
  // The extended protocol runs exactly one statement: a second one in the text is refused.
  const Result result(PQexecParams(conn_, sql.constData(), 0, nullptr, nullptr, nullptr, nullptr, 0));
  const ExecStatusType status = PQresultStatus(result.get());
  if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
    const char* code = PQresultErrorField(result.get(), PG_DIAG_SQLSTATE);
    const QString description =
        code && QByteArray(code) == kStatementTimeoutCode
            ? QStringLiteral("语句运行超过 %1 秒，已被中止。").arg(kStatementTimeLimit.count() / 1000.0)
            : ServerText(result ? PQresultErrorMessage(result.get()) : PQerrorMessage(conn_));
    error = DbError{description, kErrorStatementFailed};
    return nullptr;
  }
  QStringList columns;
  for (int c = 0; c < PQnfields(result.get()); ++c) columns << QString::fromUtf8(PQfname(result.get(), c));
  std::vector<std::vector<QVariant>> rows(std::size_t(PQntuples(result.get())));
  for (int r = 0; r < PQntuples(result.get()); ++r) {
    rows[std::size_t(r)].reserve(std::size_t(columns.size()));
    for (int c = 0; c < columns.size(); ++c) rows[std::size_t(r)].push_back(Value(result.get(), r, c));
  }
  return std::make_unique<ResultSet>(columns, std::move(rows));
}
