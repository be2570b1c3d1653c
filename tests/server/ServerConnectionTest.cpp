// What libpq and GDAL are given for a server city: a text rebuilt from the checked keywords, which
// both parsers split the same way, so they reach only the servers the user listed.
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <QStringList>
#include <chrono>
#include <map>
#include <thread>

#include "data/ServerCity.h"
#include "map/GdalLockDown.h"
#include "tests/server/TcpListener.h"

namespace {

// The keywords libpq reads from text, or why it cannot.
std::map<QString, QString> LibpqKeywords(const QString& text) {
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(text.toUtf8().constData(), &error);
  PQfreemem(error);
  std::map<QString, QString> keywords;
  for (const PQconninfoOption* o = options; o && o->keyword; ++o)
    if (o->val) keywords[QString::fromUtf8(o->keyword)] = QString::fromUtf8(o->val);
  PQconninfoFree(options);
  return keywords;
}

QString Value(const qiwu::ServerParams& params, const QString& key) {
  for (const auto& [k, value] : params)
    if (k == key) return value;
  return {};
}

TEST(ServerConnection, ValuesThatParsersSplitDifferentlyAreRefused) {
  struct Case {
    const char* text;
    const char* refusedWord;  // null: accepted
  };
  const Case cases[] = {
      {"host=127.0.0.1 hostaddr=127.0.0.2 port=5432 dbname=city user=qiwu_desk "
       "application_name=xtables='z'\thostaddr=127.0.0.1",
       "application_name"},
      {"host=127.0.0.1 dbname='a b'", "dbname"},
      {"host=127.0.0.1 dbname=a\\ b", "dbname"},
      {"host=127.0.0.1 user='x=y'", "user"},
      {"host=127.0.0.1 dbname='it\\'s'", "dbname"},
      {"host=127.0.0.1 dbname='\"city\"'", "dbname"},
      {"host=127.0.0.1 dbname='a\\\\b'", "dbname"},
      {"host=127.0.0.1 dbname='line\nbreak'", "dbname"},
      {"postgresql://desk@127.0.0.1/ci%20ty", "dbname"},
      {"postgresql://desk@127.0.0.1/city?application_name=a%3Dtables", "application_name"},
      {"host=127.0.0.1 dbname=city sslmode=sometimes", "sslmode"},
      {"host=127.0.0.1,127.0.0.2 port=5432,5433 dbname=城市 user=qiwu_desk", nullptr},
      {"postgresql://qiwu_desk@127.0.0.1:5433/city?sslmode=require", nullptr},
      {"host=127.0.0.1 dbname='city' user=\"qiwu_desk\"", "user"},  // only single quotes quote
  };
  for (const Case& c : cases) {
    QString message;
    const auto params = qiwu::ParseServerCity(QString::fromUtf8(c.text), message);
    EXPECT_EQ(params.has_value(), c.refusedWord == nullptr) << c.text << "\n" << message.toStdString();
    if (c.refusedWord) {
      EXPECT_TRUE(message.contains(QString::fromUtf8(c.refusedWord))) << message.toStdString();
    }
  }
}

// Listeners stand where the texts point; GDAL's driver must reach only the servers the check named,
// and libpq must read back from the rebuilt text the very keywords that were checked.
TEST(ServerConnection, GdalAndLibpqReachOnlyTheServersTheCheckSaw) {
  LockDownGdal();
  const std::shared_ptr<void> driver = RegisterServerDriver();
  TcpListener one(QStringLiteral("127.0.0.1"), 0);
  TcpListener two(QStringLiteral("127.0.0.2"), one.Port());
  TcpListener other(QStringLiteral("127.0.0.1"), 0);
  ASSERT_TRUE(one.Listening() && two.Listening() && other.Listening());
  const std::vector<std::pair<QString, const TcpListener*>> listeners = {
      {QString("127.0.0.1:%1").arg(one.Port()), &one},
      {QString("127.0.0.2:%1").arg(two.Port()), &two},
      {QString("127.0.0.1:%1").arg(other.Port()), &other}};

  const char* const texts[] = {
      "host=127.0.0.1 port=%1 dbname=city user=qiwu_desk",
      "hostaddr=127.0.0.2 port=%1 dbname=city",
      "host=localhost hostaddr=127.0.0.1 port=%2 dbname=city",
      "host=127.0.0.1,127.0.0.2 port=%2,%1 dbname=city",
      "postgresql://qiwu_desk@127.0.0.2:%1/city",
      "postgresql://qiwu_desk@127.0.0.1:%2/city?application_name=desk",
      // GDAL's own option names as values
      "host=127.0.0.1 hostaddr=127.0.0.2 port=%1 dbname=tables user=active_schema",
      "dbname=schemas host=127.0.0.2 port=%1 application_name=tables",
  };
  for (const char* pattern : texts) {
    const QString text = QString::fromUtf8(pattern)
                             .replace("%1", QString::number(one.Port()))
                             .replace("%2", QString::number(other.Port()));
    QString message;
    const auto params = qiwu::ParseServerCity(text, message);
    ASSERT_TRUE(params) << text.toStdString() << "\n" << message.toStdString();
    const QStringList servers = qiwu::ServersNamed(*params);
    const qiwu::ServerParams forGdal = qiwu::ConnectionParams(*params, qiwu::ConnectionUse::Gdal, QString());
    const QString rebuilt = qiwu::ConnectionText(forGdal);

    const std::map<QString, QString> read = LibpqKeywords(rebuilt);
    for (const char* key : {"host", "hostaddr", "port", "dbname", "user"})
      EXPECT_EQ(read.count(key) ? read.at(key) : QString(), Value(*params, key))
          << key << " of " << rebuilt.toStdString();

    std::vector<int> before;
    for (const auto& [server, listener] : listeners) before.push_back(listener->Connections());
    const char* const drivers[] = {"PostgreSQL", nullptr};
    GDALDatasetUniquePtr opened(GDALDataset::Open(("PG:" + rebuilt).toUtf8().constData(),
                                                  GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers));
    EXPECT_FALSE(opened) << "a listener is no server";
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the listeners count on their threads
    int reached = 0;
    for (std::size_t i = 0; i < listeners.size(); ++i) {
      if (listeners[i].second->Connections() == before[i]) continue;
      ++reached;
      EXPECT_TRUE(servers.contains(listeners[i].first))
          << text.toStdString() << " reached " << listeners[i].first.toStdString();
    }
    EXPECT_GT(reached, 0) << text.toStdString();
  }
}

TEST(ServerConnection, TheProgramsBoundsAndTlsFloorAreAlwaysGiven) {
  struct Case {
    const char* text;
    const char* userSslMode;  // PGSSLMODE
    qiwu::ConnectionUse use;
    const char* sslmode;
    const char* connectTimeout;
    bool applicationName;
  };
  using enum qiwu::ConnectionUse;
  const Case cases[] = {
      {"host=db sslmode=disable", "require", Libpq, "require", "30", false},
      {"host=db sslmode=disable", "", Libpq, "prefer", "30", false},
      {"host=db sslmode=allow", "disable", Gdal, "prefer", "30", false},
      {"host=db sslmode=verify-full", "require", Libpq, "verify-full", "30", false},
      {"host=db", "verify-ca", Gdal, "verify-ca", "30", false},
      {"host=db", "nonsense", Libpq, "prefer", "30", false},
      {"host=db connect_timeout=3 application_name=desk", "", Libpq, "prefer", "3", true},
      {"host=db connect_timeout=3 application_name=desk", "", Gdal, "prefer", "3", false},
      {"host=db connect_timeout=0", "", Libpq, "prefer", "30", false},
      {"host=db connect_timeout=600", "", Gdal, "prefer", "30", false},
  };
  for (const Case& c : cases) {
    QString message;
    const auto params = qiwu::ParseServerCity(QString::fromUtf8(c.text), message);
    ASSERT_TRUE(params) << c.text;
    const qiwu::ServerParams out = qiwu::ConnectionParams(*params, c.use, QString::fromUtf8(c.userSslMode));
    const std::map<QString, QString> read = LibpqKeywords(qiwu::ConnectionText(out));
    const auto at = [&read](const char* key) { return read.count(key) ? read.at(key) : QString(); };
    EXPECT_EQ(at("sslmode"), QString::fromUtf8(c.sslmode)) << c.text << " with " << c.userSslMode;
    EXPECT_EQ(at("connect_timeout"), QString::fromUtf8(c.connectTimeout)) << c.text;
    EXPECT_EQ(read.count("application_name") == 1, c.applicationName) << c.text;
    EXPECT_EQ(at("keepalives"), "1") << c.text;
    EXPECT_EQ(at("tcp_user_timeout"), "5000") << c.text;
    EXPECT_EQ(at("host"), "db") << c.text;
  }
}

}  // namespace
