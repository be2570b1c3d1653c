#include "data/LikePattern.h"

#include <sqlite3.h>

#include <algorithm>

namespace {

constexpr std::size_t kNoMatch = std::string_view::npos;

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The byte length of the UTF-8 character starting at text[at].
std::size_t CharLength(std::string_view text, std::size_t at) {
  std::size_t end = at + 1;
  while (end < text.size() && IsContinuation(text[end])) ++end;
  return end - at;
}

char LowerLatin(char c) { return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c; }

std::string_view Folded(std::string_view text, std::string& buffer) {
  if (std::none_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) return text;
  buffer.assign(text);
  std::transform(buffer.begin(), buffer.end(), buffer.begin(), LowerLatin);
  return buffer;
}

std::size_t CharCount(std::string_view text) {
  return std::size_t(std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuation(c); }));
}

}  // namespace

LikePattern::LikePattern(std::string_view pattern, std::optional<std::string_view> escape) {
  Segment current{std::string()};
  const auto endSegment = [&] {
    if (current.size() > 1 || !current[0].empty()) segments_.push_back(std::move(current));
    current = Segment{std::string()};
  };
  for (std::size_t i = 0; i < pattern.size();) {
    const std::size_t length = CharLength(pattern, i);
    const std::string_view c = pattern.substr(i, length);
    i += length;
    if (escape && c == *escape) {
      if (i >= pattern.size()) {
        neverMatches_ = true;
        return;
      }
      const std::size_t escapedLength = CharLength(pattern, i);
      for (char b : pattern.substr(i, escapedLength)) current.back() += LowerLatin(b);
      i += escapedLength;
    } else if (c == "%") {
      if (segments_.empty() && current.size() == 1 && current[0].empty()) anchoredStart_ = false;
      endSegment();
      anchoredEnd_ = false;
      continue;
    } else if (c == "_") {
      current.emplace_back();
    } else {
      for (char b : c) current.back() += LowerLatin(b);
    }
    anchoredEnd_ = true;
  }
  endSegment();
}

// The end of the segment matched at byte `at` of text, or kNoMatch.
std::size_t LikePattern::MatchAt(const Segment& segment, std::string_view text, std::size_t at) {
  for (std::size_t part = 0; part < segment.size(); ++part) {
    if (part > 0) {  // one character for the '_' before this part
      if (at >= text.size()) return kNoMatch;
      at += CharLength(text, at);
    }
    if (text.compare(at, segment[part].size(), segment[part]) != 0) return kNoMatch;
    at += segment[part].size();
  }
  return at;
}

// The end of the leftmost match of the segment at or after byte `from`, or kNoMatch. A match
// found by byte search in valid UTF-8 always starts on a character boundary.
std::size_t LikePattern::Find(const Segment& segment, std::string_view text, std::size_t from) {
  if (segment.size() == 1) {
    const std::size_t at = text.find(segment[0], from);
    return at == kNoMatch ? kNoMatch : at + segment[0].size();
  }
  for (std::size_t at = from; at <= text.size();) {
    if (!segment[0].empty()) {
      at = text.find(segment[0], at);
      if (at == kNoMatch) return kNoMatch;
    }
    const std::size_t end = MatchAt(segment, text, at);
    if (end != kNoMatch) return end;
    if (at == text.size()) break;
    at += CharLength(text, at);
  }
  return kNoMatch;
}

bool LikePattern::Matches(std::string_view original) const {
  if (neverMatches_) return false;
  thread_local std::string buffer;
  const std::string_view text = Folded(original, buffer);
  const std::size_t count = segments_.size();
  if (count == 0) return !(anchoredStart_ && anchoredEnd_) || text.empty();

  std::size_t at = 0;
  std::size_t first = 0;
  if (anchoredStart_) {
    at = MatchAt(segments_.front(), text, 0);
    if (at == kNoMatch) return false;
    first = 1;
  }
  if (anchoredEnd_ && first == count) return at == text.size();
  const std::size_t last = anchoredEnd_ ? count - 1 : count;
  for (std::size_t s = first; s < last; ++s) {
    at = Find(segments_[s], text, at);
    if (at == kNoMatch) return false;
  }
  if (!anchoredEnd_) return true;

  // The last segment must end where the text ends; it covers a fixed number of characters.
  const Segment& tail = segments_.back();
  std::size_t characters = tail.size() - 1;
  for (const std::string& part : tail) characters += CharCount(part);
  std::size_t start = text.size();
  for (; characters > 0 && start > at; --characters) {
    do --start;
    while (start > at && IsContinuation(text[start]));
  }
  return characters == 0 && MatchAt(tail, text, start) == text.size();
}

namespace {

std::string_view TextOf(sqlite3_value* value) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
  return text ? std::string_view(text, std::size_t(sqlite3_value_bytes(value))) : std::string_view();
}

// Marks, on the escape argument, that the cached pattern was compiled with this escape.
char escapeMarker;

// The compiled pattern is kept with the statement (SQLite's auxiliary data) while the pattern
// and escape arguments stay the same, so a scan compiles it once.
void LikeFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
  for (int i = 0; i < argc; ++i) {
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return;  // result null
  }
  std::optional<std::string_view> escape;
  if (argc == 3) {
    escape = TextOf(argv[2]);
    if (CharCount(*escape) != 1) {
      sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
      return;
    }
  }
  const std::string_view text = TextOf(argv[1]);
  const auto* cached = static_cast<const LikePattern*>(sqlite3_get_auxdata(context, 0));
  if (cached && (argc == 2 || sqlite3_get_auxdata(context, 2) == &escapeMarker)) {
    sqlite3_result_int(context, cached->Matches(text));
    return;
  }
  auto* compiled = new LikePattern(TextOf(argv[0]), escape);
  sqlite3_result_int(context, compiled->Matches(text));
  sqlite3_set_auxdata(context, 0, compiled, [](void* data) { delete static_cast<LikePattern*>(data); });
  if (argc == 3) sqlite3_set_auxdata(context, 2, &escapeMarker, nullptr);
}

}  // namespace

int RegisterLike(sqlite3* db) {
  const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
  for (const int arguments : {2, 3}) {
    const int rc = sqlite3_create_function_v2(db, "like", arguments, flags, nullptr, &LikeFunction, nullptr,
                                              nullptr, nullptr);
    if (rc != SQLITE_OK) return rc;
  }
  return SQLITE_OK;
}
