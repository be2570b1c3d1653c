#pragma once
// The real open data the tests import: osmtogeojson's extract (a corner of St. Michael/Eppan) and
// the published sample GTFS feed, installed by scripts/install-deps.sh. Where the README's test
// command runs (it installs them and sets QIWU_REQUIRE_FIXTURES), a missing fixture fails the test;
// elsewhere it is skipped.
#include <gtest/gtest.h>

#include <QFile>
#include <QString>

namespace realdata {

inline QString Fixture(const char* path) {
  return qEnvironmentVariable("QIWU_SOURCE_DIR") + "/tests/fixtures/npm/node_modules/" + path;
}
inline QString Extract() { return Fixture("osmtogeojson/test-cli/data/map.osm"); }
inline QString Feed() { return Fixture("sample-gtfs-feed/gtfs.zip"); }

inline bool Installed() { return QFile::exists(Extract()) && QFile::exists(Feed()); }
inline bool Required() { return qEnvironmentVariableIntValue("QIWU_REQUIRE_FIXTURES") == 1; }

}  // namespace realdata

// In a test's body or SetUp: fails (where required) or skips when the fixtures are missing.
#define REQUIRE_REAL_FIXTURES()                                                                           \
  do {                                                                                                    \
    if (!realdata::Installed()) {                                                                         \
      if (realdata::Required()) GTEST_FAIL() << "the npm fixtures are missing (scripts/install-deps.sh)"; \
      GTEST_SKIP() << "the npm fixtures are not installed (scripts/install-deps.sh)";                     \
    }                                                                                                     \
  } while (false)
