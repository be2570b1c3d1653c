// A name typed in another Latin case finds what the database's = finds: in the transfer search,
// in the trip planner and in the search box alike, on a file city.
#include <gtest/gtest.h>

#include "bus/BusPlanText.h"
#include "bus/TripCity.h"
#include "bus/modBusChange.h"
#include "data/modDBAccess.h"
#include "data/search/SearchIndex.h"
#include "tests/bus/BusNetworkFixture.h"
#include "tests/support/MessageRecorder.h"

namespace {

const QString kTable = QStringLiteral("公交信息");

// Two lines meeting at 中心; stops whose names differ only in Latin case (Xy and xY) and one
// name typed in every case (A1).
const std::vector<BusRow> kRows = {
    {"K1", "A1", 1, 1},    {"K1", "中心", 2, 2}, {"K1", "Xy", 3, 3}, {"9路", "中心", 1, 4},
    {"9路", "东站", 2, 5}, {"9路", "xY", 3, 6},  {"k2", "b2", 1, 7}, {"k2", "东站", 2, 8},
};

// The stop the database's = finds for typed: the name itself when a stop has exactly that name,
// else the first row's in stored order; empty when none.
QString StopAsTheDatabaseFindsIt(const QString& typed) {
  for (const BusRow& row : kRows)
    if (row.stop.toString() == typed) return typed;
  Outcome error;
  const auto rows =
      modDBAccess::cnnCity->Query("select 站名 from 公交信息 where 站名 = '" + typed + "'", error);
  return rows && !rows->Rows().empty() ? rows->Rows().front().at(0).toString() : QString();
}

TEST(NameLookup, ATypedNameInAnotherLatinCaseFindsTheStopEverywhere) {
  BusDatabase database(kRows);
  ASSERT_TRUE(database.Open());
  CityDatabase& city = *modDBAccess::cnnCity;
  MessageRecorder messages;
  QString error;
  const trip::Index* trips = trip::IndexOf(city, nullptr, {}, error);
  ASSERT_TRUE(trips) << error.toStdString();
  const search::SearchIndex& names = search::SearchIndex::Of(city);

  for (const QString typed : {"a1", "A1", "B2", "xy", "XY", "Xy", "xY", "中心", "c1"}) {
    const QString expected = StopAsTheDatabaseFindsIt(typed);
    SCOPED_TRACE(typed.toStdString() + " -> " + expected.toStdString());

    const std::optional<trip::Place> place = trip::FindPlace(*trips, typed, {});
    ASSERT_EQ(place.has_value(), !expected.isEmpty());
    if (place) {
      EXPECT_EQ(trips->Net().stops[std::size_t(place->stop)].name, expected);
    }

    const search::Entry* entry = names.Lookup(QStringLiteral("站点"), typed);
    EXPECT_EQ(entry ? entry->name : QString(), expected);
    const std::vector<const search::Entry*> suggested = names.Find(typed, search::SearchIndex::kSuggestions);
    EXPECT_EQ(std::any_of(suggested.begin(), suggested.end(),
                          [&](const search::Entry* e) { return e->name == expected; }),
              !expected.isEmpty());

    const QString answer = modBusChange::FindBusChange(city, typed, QStringLiteral("东站"), kTable);
    EXPECT_EQ(answer, modBusChange::FindBusChangeByQueries(city, typed, QStringLiteral("东站"), kTable));
    EXPECT_EQ(answer == modBusChange::WrongNameAnswer(), expected.isEmpty());
  }
  EXPECT_TRUE(messages.Texts().isEmpty()) << messages.Texts().join('\n').toStdString();
}

}  // namespace
