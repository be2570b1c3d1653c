// The demo city published to a real server answers every statement of the panels and the
// transfer search as its files do: same rows, same order, same failures.
#include <gtest/gtest.h>

#include <QFile>

#include "bus/BusNetworkIndex.h"
#include "bus/modBusChange.h"
#include "data/BusTable.h"
#include "data/CityDatabase.h"
#include "data/CityPaths.h"
#include "data/CityVocabulary.h"
#include "data/ServerCity.h"
#include "data/modGetRecord.h"
#include "dataset/City.h"
#include "tests/server/PublishedCity.h"
#include "tests/server/ServerCluster.h"
#include "tests/support/CliRun.h"
#include "tests/support/MessageRecorder.h"

namespace {

const QString kCity = QStringLiteral("栖坞市");
const QString kBus = QString::fromUtf8(city::kBusTable);

class CrossBackend : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_SERVER();
    ASSERT_TRUE(City().failure.isEmpty()) << City().failure.toStdString();
  }

  static QStringList Column(const QString& sql) {
    Outcome error;
    const auto rows = City().files.Query(sql, error);
    QStringList values;
    if (rows)
      for (const auto& row : rows->Rows()) values << row.at(0).toString();
    return values;
  }

  // The statement on both backends: both fail, or both give the same columns and rows.
  static void ExpectSameAnswer(const QString& sql, const CityDatabase& server = City().server) {
    Outcome fileError;
    Outcome serverError;
    const auto fromFile = City().files.Query(sql, fileError);
    const auto fromServer = server.Query(sql, serverError);
    ASSERT_EQ(fromFile != nullptr, fromServer != nullptr)
        << sql.toStdString() << "\nfile: " << fileError.description.toStdString()
        << "\nserver: " << serverError.description.toStdString();
    if (!fromFile) {
      EXPECT_EQ(fileError.number, serverError.number) << sql.toStdString();
      return;
    }
    EXPECT_EQ(fromFile->Columns().join('|').toLower(), fromServer->Columns().join('|').toLower())
        << sql.toStdString();
    EXPECT_EQ(fromFile->Rows(), fromServer->Rows()) << sql.toStdString();
  }
};

TEST_F(CrossBackend, EveryStatementShapeOfThePanelsGivesTheSameRows) {
  using modGetRecord::FillListStatement;
  const QStringList lines = Column("select distinct 线路名 from 公交信息");
  const QStringList stops = Column("select distinct 站名 from 公交信息");
  const QStringList types = Column("select distinct typeName from 地物类型");
  ASSERT_FALSE(lines.isEmpty());
  QStringList statements = {
      FillListStatement("地物类型", "typeName", "", "typeName", true),
      FillListStatement(kBus, "线路名", "", "id", true),
      FillListStatement("地物类型", "typeName", " where type  = \"点\" ", "typeName", true),
      FillListStatement(kBus, "站名", "", "站名", true),
      "select 1; select 2",
      "select nosuch from 公交信息",
  };
  for (const QString& line :
       lines + QStringList{lines.first().toLower(), lines.first().toUpper(), "无此线"}) {
    statements << FillListStatement(kBus, "站名", " where 线路名 = '" + modGetRecord::SqlText(line) + "' ",
                                    "顺序", false);
    statements << "select 站名  from " + kBus + " where 线路名 = '" + modGetRecord::SqlText(line) + "' ";
  }
  for (const QString& stop : stops) {
    statements << FillListStatement(kBus, "线路名", " where 站名 = '" + modGetRecord::SqlText(stop) + "' ",
                                    "ID", false);
    statements << "select 线路名  from " + kBus + " where 站名 = '" + modGetRecord::SqlText(stop) + "' ";
    statements << FillListStatement(kBus, "站名", " where  站名  like '%" + stop.left(1) + "%' ", "站名",
                                    true);
    statements << modGetRecord::FieldValueStatement(
        kBus, "顺序", " where 站名='" + stop + "' and 线路名='" + lines.first() + "'");
  }
  for (const QString& type : types) {
    statements << FillListStatement(type, "name", "", "name", true);
    for (const QString& name : Column("select name from " + type).mid(0, 20))
      statements << modGetRecord::FieldValueStatement(type, "name",
                                                      " where name  = '" + modGetRecord::SqlText(name) + "'");
  }
  for (const char* field : {"linkman", "tel", "address", "web"})
    for (const QString& name : Column("select name from 餐饮娱乐"))
      for (const QString& typed : {name, name.toUpper(), name.toLower()})  // Latin case aside
        statements << modGetRecord::FieldValueStatement("餐饮娱乐", field, " where name  = '" + typed + "'");
  for (const char* keyword : {"路", "a", "A", "大", "%", "_", "\\", "x'y", "''", "医院", "1"})
    statements << modGetRecord::KeywordStatement("name", QString::fromUtf8(keyword));
  for (const QString& sql : statements) ExpectSameAnswer(sql);
}

// A server city answers the transfer search from its in-memory bus table, as a file city does;
// both give the search by statements on the server to the byte, names typed in another Latin
// case included.
TEST_F(CrossBackend, ThousandTransferSearchesGiveTheSameText) {
  const QStringList stops = Column("select distinct 站名 from 公交信息 order by 站名");
  ASSERT_GT(stops.size(), 10);
  ASSERT_TRUE(modBusChange::BusNetworkIndex::Build(BusTable::Of(City().server)))
      << "the server city's bus table gives no index";
  MessageRecorder messages;
  for (int i = 0; i < 1000; ++i) {
    QString from = stops[(i * 7919) % stops.size()];
    QString to = stops[(i * 104729 + 13) % stops.size()];
    if (i % 7 == 0) from = from.toLower();
    if (i % 11 == 0) to = to.toUpper();
    const std::string byStatements =
        modBusChange::FindBusChangeByQueries(City().server, from, to, kBus).toStdString();
    ASSERT_EQ(modBusChange::FindBusChange(City().server, from, to, kBus).toStdString(), byStatements)
        << from.toStdString() << " -> " << to.toStdString();
    ASSERT_EQ(modBusChange::FindBusChange(City().files, from, to, kBus).toStdString(), byStatements)
        << from.toStdString() << " -> " << to.toStdString();
  }
  EXPECT_TRUE(messages.Texts().isEmpty()) << messages.Texts().join('\n').toStdString();
}

TEST_F(CrossBackend, AHotStandbyAnswersTheSameSearches) {
  const int standby = ServerCluster::Shared().StandbyPort();
  ASSERT_NE(standby, 0) << ServerCluster::Shared().Unavailable().toStdString();
  City().AllowServers({QString("127.0.0.1:%1").arg(standby)});
  const QString path = City().programDir.path() + "/data/副本.pg";
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QString("host=127.0.0.1 port=%1 dbname=city user=qiwu_desk").arg(standby).toUtf8());
  file.close();
  CityDatabase replica;
  Outcome error;
  ASSERT_TRUE(replica.Open(path, error)) << error.description.toStdString();
  const QStringList stops = Column("select distinct 站名 from 公交信息 order by 站名");
  ExpectSameAnswer(modGetRecord::FillListStatement(kBus, "线路名", "", "id", true), replica);
  ExpectSameAnswer(modGetRecord::KeywordStatement("name", "路"), replica);
  for (int i = 0; i < 100; ++i) {
    const QString& from = stops[(i * 31) % stops.size()];
    const QString& to = stops[(i * 17 + 5) % stops.size()];
    EXPECT_EQ(modBusChange::FindBusChange(City().files, from, to, kBus),
              modBusChange::FindBusChange(replica, from, to, kBus));
  }
  QFile::remove(path);
  City().AllowServers({QString("127.0.0.1:%1").arg(ServerCluster::Shared().Port())});
}

TEST_F(CrossBackend, DesksReadOnlyWithinTheTimeBound) {
  struct Case {
    const char* sql;
    const char* failure;  // part of the description; null: answers
  };
  const Case cases[] = {
      {"select pg_sleep(3)", "语句运行超过 2 秒"},
      {"create table t (a int)", "read-only"},
      {"select 1; select 1", "cannot insert multiple commands"},
      {"select (select rolsuper::int from pg_roles where rolname = current_user)", nullptr},
  };
  for (const Case& c : cases) {
    Outcome error;
    const auto rows = City().server.Query(QString::fromUtf8(c.sql), error);
    EXPECT_EQ(rows == nullptr, c.failure != nullptr) << c.sql;
    if (c.failure) {
      EXPECT_EQ(error.number, kErrorStatementFailed);
      EXPECT_TRUE(error.description.contains(QString::fromUtf8(c.failure)))
          << error.description.toStdString();
    } else {
      ASSERT_EQ(rows->Rows().size(), 1u);
      EXPECT_EQ(rows->Rows()[0][0].toLongLong(), 0) << "desks log in as a superuser";
    }
  }
}

TEST_F(CrossBackend, AServerThatCannotBeReachedOrIsNotListedFailsTheOpen) {
  const int port = ServerCluster::Shared().Port();
  const QString desk = QString("host=127.0.0.1 port=%1 dbname=%2 user=qiwu_desk");
  struct Case {
    QString text;
    QString failure;
  };
  City().AllowServers({QString("127.0.0.1:%1").arg(port), QString("127.0.0.1:%1").arg(port + 1)});
  const Case cases[] = {
      {desk.arg(port + 1).arg("city"), "127.0.0.1"},  // listed, nothing listening
      {desk.arg(port + 2).arg("city"), "不在"},       // not listed
      {desk.arg(port).arg("nosuch"), "nosuch"},
      {desk.arg(port).arg("city") + " password=x", "password"},
      {desk.arg(port).arg("city"), ""},
  };
  for (const Case& c : cases) {
    const Outcome error = City().OpenServerFile(c.text);
    EXPECT_EQ(error.number, c.failure.isEmpty() ? 0 : kErrorOpenFailed) << c.text.toStdString();
    EXPECT_TRUE(error.description.contains(c.failure)) << error.description.toStdString();
  }
  QFile::remove(City().programDir.path() + "/data/试验市.pg");
  City().AllowServers({QString("127.0.0.1:%1").arg(port)});
}

// qiwu-cli on the published city, once with data/<city>.pg (the server and its workspace) and
// once with the file moved aside: the map answers and a rendered view are the same.
TEST_F(CrossBackend, MapAnswersAndARenderedViewAreTheSame) {
  const QString root = City().programDir.path();
  const QString pg = qiwu::ServerCityPath(root, kCity);
  const QString x = QString::number(citygen::kOriginX, 'f', 0);
  const QString y = QString::number(citygen::kOriginY, 'f', 0);
  const QList<QStringList> commands = {
      {"layers"},
      {"radius", "餐饮娱乐", x, y, "3000"},
      {"radius", "医院诊所", x, y, "8000"},
      {"nearest", "金融银行", x, y},
      {"nearest", "旅游景点", QString::number(citygen::kOriginX + 2500, 'f', 0), y},
      {"keyword", "路"},
      {"render", "--out", root + "/%1.png", "--width", "480", "--height", "360", "--view-width", "6000"},
  };
  const auto run = [&](const QString& side) {
    QList<QByteArray> answers;
    for (QStringList args : commands) {
      args.replaceInStrings("%1", side);
      const CliRun r = RunProgram(QIWU_CLI, QStringList{"--root", root} + args);
      EXPECT_EQ(r.exitCode, 0) << args.join(' ').toStdString() << ": " << r.err.toStdString();
      QFile picture(root + "/" + side + ".png");
      answers << (args.first() == "render" && picture.open(QIODevice::ReadOnly) ? picture.readAll() : r.out);
    }
    return answers;
  };
  const QList<QByteArray> server = run("server");
  ASSERT_TRUE(QFile::rename(pg, pg + ".aside"));
  const QList<QByteArray> files = run("files");
  ASSERT_TRUE(QFile::rename(pg + ".aside", pg));
  for (qsizetype i = 0; i < commands.size(); ++i) {
    EXPECT_FALSE(files[i].isEmpty()) << commands[i].join(' ').toStdString();
    EXPECT_TRUE(files[i] == server[i]) << commands[i].join(' ').toStdString() << "\nfiles:\n"
                                       << files[i].left(400).toStdString() << "\nserver:\n"
                                       << server[i].left(400).toStdString();
  }
}

}  // namespace
