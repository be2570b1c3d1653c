#pragma once
// Small GTFS feeds written by tests, as folders or .zip files, and what the reader made of them.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <map>
#include <string>
#include <vector>

#include "import/TransitNetwork.h"

namespace gtfsfixture {

// File name → content; a null content leaves the file out.
using Files = std::map<std::string, const char*>;

// One bus route "5" (R) with one trip t1 of direction 0 calling at A (甲) and B (乙); stops C (丙)
// and D (丁) wait unused. `changes` replace or remove files of it.
Files Feed(const Files& changes = {});

// Writes the files into the folder `path` (created) or into the .zip file `path`; returns path.
std::string WriteFolder(const std::string& path, const Files& files);
std::string WriteZip(const std::string& path, const Files& files);

// "name: stop stop …" for each line, in order, joined by "; ".
std::string Describe(const qiwu::import::TransitNetwork& network);

// The published sample feed of the npm fixtures: gtfs.zip and the folder gtfs/.
std::string SampleFeed();

// The rows of a comma-separated file without quotes, by column: a feed read apart from the
// importer's reader.
using Row = std::map<std::string, std::string>;
std::vector<Row> PlainRows(const std::string& path);

// Tests that write feeds into a temporary folder and read them.
class FeedTest : public ::testing::Test {
 protected:
  struct Case {
    const char* what;
    Files changes;
    const char* expected;  // Describe's text
  };

  // A feed the reader must refuse, naming file and line.
  struct Bad {
    const char* what;
    Files changes;
    const char* file;
    long line;
  };

  std::string Path(const std::string& name) const;
  // Feed(changes) written as a folder of its own and read.
  qiwu::import::TransitNetwork Read(const Files& changes);
  void ExpectLines(const std::vector<Case>& cases);
  void ExpectRefused(const std::vector<Bad>& cases);

  QTemporaryDir dir_;
  int feeds_ = 0;
};

}  // namespace gtfsfixture
