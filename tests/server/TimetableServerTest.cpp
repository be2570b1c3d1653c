// The timetable tables published to a server (their packed columns as bytea) read back as the
// file city's: the demo city's, and random timetables with rules, unplaced platforms and times
// past 24:00.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "bus/TimetableRead.h"
#include "data/CityPaths.h"
#include "data/CityPlace.h"
#include "import/publish/CityPublisher.h"
#include "tests/server/PublishedCity.h"
#include "tests/server/ServerCluster.h"
#include "tests/support/RandomTimetable.h"
#include "tests/support/TimetableText.h"
#include "tools/citygen/Generator.h"

namespace {

using testtimetable::TimetableText;

std::vector<std::string> ReadText(const CityDatabase& db) {
  QString error;
  const citygen::Timetable timetable = trip::ReadTimetable(db, error);
  EXPECT_EQ(error, QString());
  EXPECT_FALSE(timetable.Empty());
  return TimetableText(timetable);
}

class ServerTimetable : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_SERVER();
    ASSERT_TRUE(City().failure.isEmpty()) << City().failure.toStdString();  // and the server list allows it
  }
};

TEST_F(ServerTimetable, TheDemoCitysTimetableReadsTheSameFromFileAndServer) {
  const citygen::City generated = citygen::Generate(citygen::Options());
  const std::vector<std::string> expected = TimetableText(generated.timetable, generated.origin);
  EXPECT_THAT(ReadText(City().files), testing::ContainerEq(expected));
  EXPECT_THAT(ReadText(City().server), testing::ContainerEq(expected));
}

TEST_F(ServerTimetable, RandomTimetablesReadTheSameFromFileAndServer) {
  testtimetable::Shape shape;
  shape.withRules = 0.5;
  shape.unplaced = 0.2;
  shape.pastMidnight = 0.3;
  for (std::uint64_t seed : {11, 12}) {
    QTemporaryDir programDir;
    citygen::City city = citygen::Generate(citygen::Options());
    city.timetable = testtimetable::RandomTimetable(seed, shape);
    ASSERT_EQ(citygen::WriteDataSet(city, programDir.path().toStdString()), "");
    const QString dbname = QStringLiteral("timetable%1").arg(seed);
    ASSERT_TRUE(ServerCluster::Shared().CreateDatabase(dbname));
    QString failure;
    const QString name = QString::fromStdString(city.name);
    ASSERT_TRUE(publish::PublishCity(ServerCluster::Shared().AdminConnection(dbname), name, programDir.path(),
                                     failure))
        << failure.toStdString();

    CityDatabase files, server;
    Outcome error;
    ASSERT_TRUE(files.Open(qiwu::DatabasePath(programDir.path(), name), error))
        << error.description.toStdString();
    ASSERT_TRUE(server.Open(qiwu::ResolveCity(programDir.path(), name).database, error))
        << error.description.toStdString();
    const std::vector<std::string> expected = TimetableText(city.timetable, city.origin);
    EXPECT_THAT(ReadText(files), testing::ContainerEq(expected)) << "seed " << seed;
    EXPECT_THAT(ReadText(server), testing::ContainerEq(expected)) << "seed " << seed;
  }
}

}  // namespace
