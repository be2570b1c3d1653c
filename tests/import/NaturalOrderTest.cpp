#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "import/NaturalOrder.h"

namespace {

using qiwu::import::CompareNaturally;

TEST(NaturalOrderTest, SortsLineNamesRunByRun) {
  // Each name comes strictly before the next.
  const std::vector<std::string> ordered = {"",
                                            "1",
                                            "01",
                                            "2",
                                            "2a",
                                            "2路",
                                            "02",
                                            "002",
                                            "10",
                                            "10路",
                                            "10路A",
                                            "10路B",
                                            "12345678901234567890123",
                                            "99999999999999999999999999路",
                                            "B2",
                                            "B10",
                                            "K1路",
                                            "K1路2",
                                            "K1路10",
                                            "b2",
                                            "夜1路",
                                            "夜2路",
                                            "夜10路",
                                            "观光1线",
                                            "观光1线(101)"};
  for (std::size_t i = 0; i + 1 < ordered.size(); ++i) {
    EXPECT_LT(CompareNaturally(ordered[i], ordered[i + 1]), 0) << ordered[i] << " < " << ordered[i + 1];
    EXPECT_GT(CompareNaturally(ordered[i + 1], ordered[i]), 0) << ordered[i + 1] << " > " << ordered[i];
  }
  std::vector<std::string> shuffled(ordered.rbegin(), ordered.rend());
  std::rotate(shuffled.begin(), shuffled.begin() + 7, shuffled.end());
  std::sort(shuffled.begin(), shuffled.end(), qiwu::import::NaturalLess{});
  EXPECT_EQ(shuffled, ordered);
}

TEST(NaturalOrderTest, EqualOnlyForTheSameName) {
  for (const char* name : {"", "2路", "007", "夜班"}) EXPECT_EQ(CompareNaturally(name, name), 0) << name;
}

}  // namespace
