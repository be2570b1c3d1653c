// Test entry point: a QApplication (offscreen in ctest) around GoogleTest. Like the program,
// the test program owns a city database, current unless a test's own window makes its own current.
#include <gtest/gtest.h>

#include <QApplication>

#include "data/modDBAccess.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  CityDatabase database;
  const modDBAccess::CurrentCity current(database);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
