#pragma once
// SQL like matching, as SQLite's built-in like() does it: '%' matches any run of characters, '_'
// exactly one character, an escape character makes the next character literal, and the case of
// Latin letters A-Z is ignored. Texts are UTF-8.
//
// It is kept for its results, not its speed. SQLite's like() reads pattern and text only up to a
// NUL, so a keyword holding a NUL would list every name and a name holding one would hide what
// follows it; here both are read whole. The speed is about the same (data_bench
// --benchmark_filter=KeywordLike, 100,000 names, median CPU time, this like() / SQLite's):
// common keyword 11.4 / 12.9 ms, Latin 11.3 / 11.3 ms, no match 6.2 / 7.4 ms, with a
// wildcard 6.9 / 6.6 ms.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

class LikePattern {
 public:
  // escape: the escape character (one UTF-8 character), or none.
  explicit LikePattern(std::string_view pattern, std::optional<std::string_view> escape = std::nullopt);

  bool Matches(std::string_view text) const;

 private:
  // A run of the pattern between two '%', cut at each '_': the literal parts (Latin letters
  // lower-cased), with exactly one character of the text between two consecutive parts.
  using Segment = std::vector<std::string>;

  static std::size_t MatchAt(const Segment& segment, std::string_view text, std::size_t at);
  static std::size_t Find(const Segment& segment, std::string_view text, std::size_t from);

  std::vector<Segment> segments_;
  bool anchoredStart_ = true;
  bool anchoredEnd_ = true;
  bool neverMatches_ = false;  // a pattern ending in a lone escape character
};

// Installs like(pattern, text) and like(pattern, text, escape) on db (owned by the caller),
// replacing SQLite's own with the same results. Returns an SQLite result code.
int RegisterLike(sqlite3* db);
