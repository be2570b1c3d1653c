#pragma once
// The readings in pinyin of the Han characters, from the Unihan database (kMandarin, kXHC1983,
// kHanyuPinyin): toneless, lower case, ü written v and, as many type it, u as well. The table is
// generated when the program is built (MakePinyinTable.py) and compiled in.
#include <cstdint>
#include <string_view>
#include <vector>

namespace pinyin {

// The generated table: the syllables back to back, and per code point (ascending) the ids of its
// syllables, kMandarin's first.
extern const char kSyllableText[];
extern const std::uint16_t kSyllableOffsets[];  // syllable i: [offsets[i], offsets[i + 1])
extern const int kSyllableCount;
extern const char32_t kCodePoints[];
extern const int kCodePointCount;
extern const std::uint32_t kReadingStarts[];  // code point i: kReadings[starts[i] .. starts[i + 1])
extern const std::uint16_t kReadings[];

// Every reading of c, the commonest first; none for a character the table lacks.
std::vector<std::string_view> Readings(char32_t c);

}  // namespace pinyin
