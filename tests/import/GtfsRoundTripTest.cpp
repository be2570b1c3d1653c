// The generated city, written as a GTFS feed and read back, has the same bus lines.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <map>

#include "import/gtfs/GtfsReader.h"
#include "tools/citygen/Generator.h"
#include "tools/citygen/GtfsWriter.h"

namespace {

using Lines = std::map<std::string, std::vector<std::string>>;  // line → stop names in riding order

TEST(GtfsRoundTripTest, GeneratedCityReadsBackWithTheSameLinesAndStops) {
  const citygen::City city = citygen::Generate({});
  QTemporaryDir dir;
  const std::string feed = dir.filePath(QStringLiteral("栖坞公交")).toStdString();
  ASSERT_EQ(citygen::WriteGtfsFeed(city, feed), "");
  const auto network = qiwu::import::ReadGtfsFeeds({feed}, {});

  Lines written, read;
  for (const auto& line : city.lines)
    for (const int stop : line.stops) written[line.name].push_back(city.stops[std::size_t(stop)].name);
  for (const auto& line : network.lines)
    for (const int stop : line.stops) read[line.name].push_back(network.stops[std::size_t(stop)].name);
  ASSERT_FALSE(written.empty());
  EXPECT_EQ(read, written);
  ASSERT_EQ(network.lines.size(), city.lines.size());
  EXPECT_EQ(network.lines[0].route.size(), city.lines[0].route.size()) << "drawn along the written shape";
}

}  // namespace
