#include "import/gtfs/FieldText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace qiwu::import {

std::string_view Trimmed(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::optional<std::uint32_t> ParseWhole(std::string_view text) {
  text = Trimmed(text);
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<double> ParseCoordinate(std::string_view text, double limit) {
  text = Trimmed(text);
  // from_chars takes no leading '+'.
  if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (!std::isfinite(value) || std::abs(value) > limit) return std::nullopt;
  return value;
}

namespace {

bool Digits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Number(std::string_view digits) {
  int value = 0;
  for (const char c : digits) value = value * 10 + (c - '0');
  return value;
}

}  // namespace

std::optional<std::int32_t> ParseTime(std::string_view text) {
  text = Trimmed(text);
  const std::size_t colon = text.find(':');
  if (colon != 1 && colon != 2) return std::nullopt;
  const std::string_view hours = text.substr(0, colon), rest = text.substr(colon + 1);
  if (rest.size() != 5 || rest[2] != ':') return std::nullopt;
  const std::string_view minutes = rest.substr(0, 2), seconds = rest.substr(3);
  if (!Digits(hours) || !Digits(minutes) || !Digits(seconds)) return std::nullopt;
  if (Number(hours) > 47 || Number(minutes) > 59 || Number(seconds) > 59) return std::nullopt;
  return Number(hours) * 3600 + Number(minutes) * 60 + Number(seconds);
}

std::optional<std::string_view> ParseDate(std::string_view text) {
  text = Trimmed(text);
  if (text.size() != 8 || !Digits(text)) return std::nullopt;
  const int year = Number(text.substr(0, 4)), month = Number(text.substr(4, 2)), day = Number(text.substr(6));
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return std::nullopt;
  if (day > kDays[month - 1] + (month == 2 && leap)) return std::nullopt;
  return text;
}

std::optional<std::string> ParseColour(std::string_view text) {
  text = Trimmed(text);
  if (text.empty()) return std::string();
  if (text.size() != 6 || !std::all_of(text.begin(), text.end(), [](char c) {
        return std::isxdigit(static_cast<unsigned char>(c)) != 0;
      }))
    return std::nullopt;
  std::string colour(text);
  for (char& c : colour) c = char(std::toupper(static_cast<unsigned char>(c)));
  return colour;
}

std::string Quoted(std::string_view text) {
  constexpr std::size_t kLongest = 60;
  std::size_t length = std::min(text.size(), kLongest);
  // Back to the start of a UTF-8 character: continuation bytes are 10xxxxxx.
  while (length < text.size() && length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
    --length;
  std::string quoted = "\"";
  for (const char c : text.substr(0, length)) {
    const auto byte = static_cast<unsigned char>(c);
    quoted += byte < 0x20 || byte == 0x7F ? '?' : c;
  }
  return quoted + (length < text.size() ? "…\"" : "\"");
}

}  // namespace qiwu::import
