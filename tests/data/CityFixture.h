#pragma once
// Small city databases written by the tests themselves.
#include <QString>
#include <QStringList>

#include "kit/ItemList.h"
#include "tests/support/Fingerprint.h"
#include "tests/support/QtTexts.h"
#include "tests/support/TestCity.h"

// A small city: the bus table, the feature types (one of them twice), and the eight keyword
// tables with names that exercise case, apostrophes, % and _ and a name found in two tables.
QStringList SmallCityStatements();

// Writes folder/city.mdb, an SQLite file in the journal mode given ("DELETE", "WAL") whose table
// t holds the rows 1 and 2, and returns its path. With keepWal, row 2 is only in the
// city.mdb-wal file beside it, not yet checkpointed into the database file.
QString WriteJournalledCity(const QString& folder, const char* journalMode, bool keepWal);

// The node-adodb example database: a Jet 4.0 file whose table Users holds Chinese text.
QString JetFixturePath();

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "tests/support/MessageRecorder.h"

// Keeps what the builders did to it: the items, and the calls in order, so "cleared only after
// success" shows.
class RecordingList : public ItemList {
 public:
  void Clear() override {
    items.clear();
    calls << "clear";
  }
  void AddItem(const QString& item) override {
    items << item;
    calls << "add";
  }
  QStringList items;
  QStringList calls;
};

// Opens the small city as cnnCity for each test and records the message boxes.
class SmallCityTest : public ::testing::Test {
 protected:
  void SetUp() override;

  QTemporaryDir dir;
  MessageRecorder recorder;
};
