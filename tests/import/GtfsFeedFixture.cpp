#include "tests/import/GtfsFeedFixture.h"

#include <cpl_conv.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "import/InputError.h"
#include "import/gtfs/GtfsReader.h"

namespace gtfsfixture {

Files Feed(const Files& changes) {
  Files files = {
      {"routes.txt", "route_id,route_short_name,route_type\nR,5,3\n"},
      {"trips.txt", "route_id,trip_id,direction_id\nR,t1,0\n"},
      {"stops.txt",
       "stop_id,stop_name,stop_lat,stop_lon\nA,甲,30.0,114.0\nB,乙,30.1,114.1\nC,丙,30.2,114.2\n"
       "D,丁,30.3,114.3\n"},
      {"stop_times.txt", "trip_id,stop_id,stop_sequence\nt1,A,1\nt1,B,2\n"},
  };
  for (const auto& [name, content] : changes) files[name] = content;
  return files;
}

std::string WriteFolder(const std::string& path, const Files& files) {
  std::filesystem::create_directories(path);
  for (const auto& [name, content] : files)
    if (content) std::ofstream(path + "/" + name, std::ios::binary) << content;
  return path;
}

std::string WriteZip(const std::string& path, const Files& files) {
  void* zip = CPLCreateZip(path.c_str(), nullptr);
  EXPECT_NE(zip, nullptr) << path;
  for (const auto& [name, content] : files) {
    if (!content) continue;
    EXPECT_EQ(CPLCreateFileInZip(zip, name.c_str(), nullptr), CE_None);
    EXPECT_EQ(CPLWriteFileInZip(zip, content, int(std::strlen(content))), CE_None);
    CPLCloseFileInZip(zip);
  }
  CPLCloseZip(zip);
  return path;
}

std::string Describe(const qiwu::import::TransitNetwork& network) {
  std::string text;
  for (const auto& line : network.lines) {
    if (!text.empty()) text += "; ";
    text += line.name + ":";
    for (const int stop : line.stops) text += " " + network.stops.at(std::size_t(stop)).name;
  }
  return text;
}

std::string SampleFeed() {
  const char* source = std::getenv("QIWU_SOURCE_DIR");
  return std::string(source ? source : ".") + "/tests/fixtures/npm/node_modules/sample-gtfs-feed";
}

std::vector<Row> PlainRows(const std::string& path) {
  std::ifstream in(path);
  EXPECT_TRUE(in) << path;
  std::vector<std::string> header;
  std::vector<Row> rows;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    if (line.empty()) continue;
    EXPECT_EQ(line.find('"'), std::string::npos) << path << " holds quotes this reading does not know";
    std::vector<std::string> fields(1);
    for (const char c : line) {
      if (c == ',')
        fields.emplace_back();
      else
        fields.back().push_back(c);
    }
    if (header.empty()) {
      header = fields;
      continue;
    }
    Row& row = rows.emplace_back();
    for (std::size_t i = 0; i < header.size(); ++i) row[header[i]] = i < fields.size() ? fields[i] : "";
  }
  return rows;
}

std::string FeedTest::Path(const std::string& name) const {
  return dir_.filePath(QString::fromStdString(name)).toStdString();
}

qiwu::import::TransitNetwork FeedTest::Read(const Files& changes) {
  return qiwu::import::ReadGtfsFeeds({WriteFolder(Path("feed" + std::to_string(++feeds_)), Feed(changes))},
                                     {});
}

void FeedTest::ExpectLines(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    try {
      EXPECT_EQ(Describe(Read(c.changes)), c.expected) << c.what;
    } catch (const qiwu::import::InputError& error) {
      ADD_FAILURE() << c.what << ": " << error.what();
    }
  }
}

void FeedTest::ExpectRefused(const std::vector<Bad>& cases) {
  for (const Bad& c : cases) {
    try {
      Read(c.changes);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const qiwu::import::InputError& error) {
      EXPECT_EQ(std::filesystem::path(error.file()).filename(), c.file) << c.what << ": " << error.what();
      EXPECT_EQ(error.line(), c.line) << c.what << ": " << error.what();
    }
  }
}

}  // namespace gtfsfixture
