#pragma once
// A typed text matched against names character by character. A character of a name is met by
// itself (Latin case aside) or, when it is a Han character, by the start of any of its readings
// in pinyin: "baiwei", "bwcg", "baiwcg" and "菜馆" all meet 百味菜馆, and every reading of a
// polyphone counts (银行 yinhang, 重庆 chongqing). Blanks and punctuation of a name may be passed
// over. The match carries the set of positions reached in the typed text (a bit mask) from
// character to character, so a name full of polyphones costs no more than any other.
#include <QString>
#include <cstdint>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace search {

using Symbol = std::uint32_t;

// The distinct characters of a set of names, each with what may meet it.
class Alphabet {
 public:
  // Appends name's symbols to symbols, one per character after case folding; characters not
  // seen before are added.
  void Spell(const QString& name, std::vector<Symbol>& symbols);
  std::size_t Size() const { return letters_.size(); }
  // Each symbol's place when names are sorted in pinyin: by its commonest reading (a character
  // without one by itself), then by code point.
  std::vector<std::uint32_t> PinyinRanks() const;

 private:
  friend class Query;
  struct Letter {
    char32_t c;
    bool passable;  // blanks and punctuation, which a match may pass over
    std::vector<std::string_view> readings;
  };
  static constexpr Symbol kNone = ~Symbol(0);
  Symbol& SymbolOf(char32_t c);

  std::vector<Letter> letters_;
  // The symbol of each character as written (folded characters share their symbol).
  std::vector<Symbol> bmp_ = std::vector<Symbol>(0x10000, kNone);
  std::unordered_map<char32_t, Symbol> others_;  // outside the BMP
};

// How a name meets a text; the better fits compare greater.
enum class Fit { None, Contains, Prefix, Exact };

class Query {
 public:
  static constexpr int kMaxLength = 63;  // characters, after blanks and apostrophes are dropped

  // text as typed: case folded, blanks and apostrophes dropped, ü read as v. A text longer than
  // kMaxLength meets no name; so does an empty one.
  Query(const QString& text, const Alphabet& alphabet);

  bool Empty() const { return length_ == 0; }
  // Exact: the text covers the whole name; Prefix: it begins the name; Contains: it meets the
  // name further on.
  Fit Match(std::span<const Symbol> name) const;

 private:
  std::uint64_t Step(std::uint64_t positions, Symbol s) const;

  int length_ = 0;
  // Per symbol its row of steps (0: the row of a symbol that meets nothing), and per row and
  // position j in the text the positions reachable from j through that symbol.
  std::vector<std::uint32_t> rowOf_;
  std::vector<std::uint64_t> steps_;
};

}  // namespace search
