// Numbers read from texts, and the program's text order.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "data/TextCollation.h"
#include "data/TextValue.h"

namespace {

TEST(LeadingNumber, ReadsTheNumberATextStartsWith) {
  const struct {
    QString text;
    double value;
  } cases[] = {
      {"500", 500}, {"500米", 500}, {"  12.5km", 12.5}, {"\t-3", -3}, {"+7", 7},  {"-.5", -0.5},
      {"5.", 5},    {"1.2.3", 1.2}, {"米500", 0},       {"", 0},      {".", 0},   {"-", 0},
      {"0012", 12}, {"3 4", 3},     {"１２", 0},        {"1e3", 1},   {"\n8", 8}, {"12,5", 12},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << c.text.toStdString();
}

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(TextCollation, LatinCaseIsIgnoredAndChineseSortsByPinyin) {
  const struct {
    const char* a;
    const char* b;
    int order;
  } cases[] = {
      {"PIZZA", "pizza", 0},
      {"Tony's", "TONY'S", 0},
      {"abc", "abd", -1},
      {"Zoo", "apple", 1},
      {"阿房宫", "八达岭", -1},
      {"八达岭", "长城", -1},
      {"北门", "南门", -1},
      {"中山路", "北门", 1},
      {"Ä", "ä", 1},
      {"", "a", -1},
      {"a", "", 1},
      {"", "", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Sign(CompareText(c.a, c.b)), c.order) << c.a << " vs " << c.b;
    EXPECT_EQ(Sign(CompareText(c.b, c.a)), -c.order) << c.b << " vs " << c.a;
  }
}

TEST(TextCollation, IsATotalOrder) {
  std::vector<std::string> texts{"长城", "Zoo",  "zoo",  "ZOO", "阿房宫", "a", "A", "b", "１", "1", "",
                                 "北京", "北门", "背面", "Ａ",  "ａ",     "é", "e", "E", "_",  "%"};
  // Transitivity and agreement of equality: sorting, then every pair must compare consistently.
  std::sort(texts.begin(), texts.end(), [](const auto& a, const auto& b) { return CompareText(a, b) < 0; });
  for (std::size_t i = 0; i < texts.size(); ++i) {
    for (std::size_t j = i; j < texts.size(); ++j) {
      EXPECT_LE(CompareText(texts[i], texts[j]), 0) << texts[i] << " / " << texts[j];
    }
  }
}

}  // namespace
