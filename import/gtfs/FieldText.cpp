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
