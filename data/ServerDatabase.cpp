#include "data/ServerDatabase.h"

#include <libpq-fe.h>
#include <poll.h>

#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <thread>
#include <vector>

#include "data/ServerCity.h"
#include "data/ServerStatement.h"
#include "data/SqliteGuards.h"
#include "kit/DataSetFile.h"

namespace {

constexpr qint64 kMaxServerFileBytes = 64 * 1024;
constexpr char kStatementTimeoutCode[] = "57014";  // query_canceled
// A live server ends a statement itself after kStatementTimeLimit; one that stops answering (a frozen
// host, a dropped link) is given up this long after the statement was sent.
constexpr std::chrono::milliseconds kAnswerDeadline{2500};

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

QString NoAnswer() {
  return QStringLiteral("数据库服务器 %1 秒内没有回答，已放弃该语句。").arg(kAnswerDeadline.count() / 1000.0);
}

enum class Protocol { Simple, OneStatement };

// Sends sql and waits for its answer at most kAnswerDeadline: the last result of the text, or null
// when it could not be sent (PQerrorMessage says why). False when the server did not answer in time.
// The simple protocol runs every statement of the text; the other runs exactly one, and refuses a
// second.
bool Exchange(PGconn* conn, const QByteArray& sql, Protocol protocol, Result& result) {
  const int sent = protocol == Protocol::Simple
                       ? PQsendQuery(conn, sql.constData())
                       : PQsendQueryParams(conn, sql.constData(), 0, nullptr, nullptr, nullptr, nullptr, 0);
  if (!sent) return true;
  const auto deadline = std::chrono::steady_clock::now() + kAnswerDeadline;
  while (true) {
    while (PQisBusy(conn)) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return false;
      pollfd wait{PQsocket(conn), POLLIN, 0};
      ::poll(&wait, 1, int(left.count()));
      if (!PQconsumeInput(conn)) break;  // the link broke: PQgetResult says so
    }
    PGresult* next = PQgetResult(conn);
    if (!next) return true;
    result.reset(next);
  }
}

// Gives up a connection whose server stopped answering: asks it to cancel the statement on a thread
// of its own (the request may never be answered either) and closes the link without waiting.
void Abandon(PGconn* conn) {
  if (PGcancel* cancel = PQgetCancel(conn)) {
    std::thread([cancel] {
      char ignored[256];
      PQcancel(cancel, ignored, sizeof ignored);
      PQfreeCancel(cancel);
    }).detach();
  }
  PQsetnonblocking(conn, 1);
  PQfinish(conn);
}

Outcome OpenFailure(const QString& path, const QString& reason) {
  return Outcome::Failure(
      kErrorOpenFailed, QStringLiteral("无法打开服务器城市“%1”：%2").arg(QFileInfo(path).fileName(), reason));
}

}  // namespace

ServerDatabase::ServerDatabase(pg_conn* connection, QString connectionString)
    : conn_(connection), connection_(std::move(connectionString)) {}

ServerDatabase::~ServerDatabase() {
  if (!conn_) return;
  PQsetnonblocking(conn_, 1);  // closing never waits on the server
  PQfinish(conn_);
}

std::unique_ptr<ServerDatabase> ServerDatabase::Connect(const QString& path, Outcome& error) {
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

  const QString userSslMode = qEnvironmentVariable("PGSSLMODE");
  PGconn* conn = qiwu::ConnectWith(qiwu::ConnectionParams(*params, qiwu::ConnectionUse::Libpq, userSslMode));
  // GDAL reads the layers over a text rebuilt from the checked keywords, never the file's own.
  std::unique_ptr<ServerDatabase> database(new ServerDatabase(
      conn, qiwu::ConnectionText(qiwu::ConnectionParams(*params, qiwu::ConnectionUse::Gdal, userSslMode))));
  if (PQstatus(conn) != CONNECTION_OK) {
    error = OpenFailure(path, ServerText(PQerrorMessage(conn)));
    return nullptr;
  }
  const QString setup = QStringLiteral(
                            "SET statement_timeout = %1; SET default_transaction_read_only = on; "
                            "SET search_path = public")
                            .arg(kStatementTimeLimit.count());
  Result set;
  Result tables;
  if (!Exchange(conn, setup.toUtf8(), Protocol::Simple, set) ||
      (PQresultStatus(set.get()) == PGRES_COMMAND_OK &&
       !Exchange(conn, "select table_name from information_schema.tables where table_schema = 'public'",
                 Protocol::OneStatement, tables))) {
    Abandon(database->conn_);
    database->conn_ = nullptr;
    error = OpenFailure(path, NoAnswer());
    return nullptr;
  }
  if (PQresultStatus(set.get()) != PGRES_COMMAND_OK || PQresultStatus(tables.get()) != PGRES_TUPLES_OK) {
    error = OpenFailure(path, ServerText(set && PQresultStatus(set.get()) != PGRES_COMMAND_OK
                                             ? PQresultErrorMessage(set.get())
                                             : PQerrorMessage(conn)));
    return nullptr;
  }
  for (int row = 0; row < PQntuples(tables.get()); ++row)
    database->tables_ << QString::fromUtf8(PQgetvalue(tables.get(), row, 0));
  return database;
}

std::unique_ptr<ResultSet> ServerDatabase::Query(const QString& jetStatement, Outcome& error) const {
  if (!conn_) {
    error = Outcome::Failure(kErrorStatementFailed, QStringLiteral("与数据库服务器的连接已中断。"));
    return nullptr;
  }
  Result result;
  if (!Exchange(conn_, qiwu::TranslateForServer(jetStatement).toUtf8(), Protocol::OneStatement, result)) {
    Abandon(conn_);
    conn_ = nullptr;
    error = Outcome::Failure(kErrorStatementFailed, NoAnswer());
    return nullptr;
  }
  const ExecStatusType status = PQresultStatus(result.get());
  if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
    const char* code = PQresultErrorField(result.get(), PG_DIAG_SQLSTATE);
    const QString description =
        code && QByteArray(code) == kStatementTimeoutCode
            ? QStringLiteral("语句运行超过 %1 秒，已被中止。").arg(kStatementTimeLimit.count() / 1000.0)
            : ServerText(result ? PQresultErrorMessage(result.get()) : PQerrorMessage(conn_));
    error = Outcome::Failure(kErrorStatementFailed, description);
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
