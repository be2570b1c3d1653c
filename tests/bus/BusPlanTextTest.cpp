#include <gtest/gtest.h>

#include "bus/BusPlanText.h"

namespace {

TEST(PositionValue, TakesTheNearestWholeNumberOfTheLeadingNumber) {
  const struct {
    QString text;
    qint64 expected;
  } cases[] = {
      {"", 0},
      {"7", 7},
      {" 12号", 12},
      {"abc", 0},
      {"-3", -3},
      {"7.5", 8},
      {"6.5", 6},
      {"6.51", 7},
      {"40000", 40000},
      {"99999999999999999999", qint64(1) << 53},
      {"-99999999999999999999", -(qint64(1) << 53)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(modBusChange::PositionValue(c.text), c.expected) << c.text.toStdString();
}

TEST(ChangeAnswer, SortsByTheWholeCountKeepingTheOrderOfEqualCounts) {
  using modBusChange::MakeChangePlan;
  const QString answer =
      modBusChange::ChangeAnswer({MakeChangePlan("A", "甲", "B", 105), MakeChangePlan("C", "乙", "D", 7),
                                  MakeChangePlan("E", "丙", "F", 100), MakeChangePlan("G", "丁", "H", 7),
                                  MakeChangePlan("I", "戊", "J", 0)});
  EXPECT_EQ(answer,
            "I-->戊 换 J 经过 0 站\r\nC-->乙 换 D 经过 7 站\r\nG-->丁 换 H 经过 7 站\r\n"
            "E-->丙 换 F 经过 100 站\r\nA-->甲 换 B 经过 105 站\r\n" +
                modBusChange::kSeparator);
}

}  // namespace
