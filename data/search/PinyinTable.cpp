#include "data/search/PinyinTable.h"

#include <algorithm>

namespace pinyin {

std::vector<std::string_view> Readings(char32_t c) {
  const char32_t* end = kCodePoints + kCodePointCount;
  const char32_t* found = std::lower_bound(kCodePoints, end, c);
  if (found == end || *found != c) return {};
  const std::size_t i = std::size_t(found - kCodePoints);
  std::vector<std::string_view> readings;
  for (std::uint32_t r = kReadingStarts[i]; r < kReadingStarts[i + 1]; ++r) {
    const std::uint16_t s = kReadings[r];
    readings.emplace_back(kSyllableText + kSyllableOffsets[s], kSyllableOffsets[s + 1] - kSyllableOffsets[s]);
  }
  return readings;
}

}  // namespace pinyin
