#pragma once
// Reading GTFS fields, which are all text: blanks trimmed, whole numbers and coordinates parsed
// strictly (the whole field, nothing else).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qiwu::import {

// Without the ASCII blanks (space, tab, CR, LF) at either end.
std::string_view Trimmed(std::string_view text);
// A whole number from 0 to 4294967295, blanks around it allowed.
std::optional<std::uint32_t> ParseWhole(std::string_view text);
// A finite decimal number within [-limit, limit], blanks around it allowed.
std::optional<double> ParseCoordinate(std::string_view text, double limit);
// A GTFS time H:MM:SS or HH:MM:SS, hours up to 47, as seconds (0 … 172799); blanks around it
// allowed.
std::optional<std::int32_t> ParseTime(std::string_view text);
// A date YYYYMMDD that exists in the Gregorian calendar, without the blanks around it.
std::optional<std::string_view> ParseDate(std::string_view text);
// A route_color in upper case: six hex digits, either case, blanks around them allowed; empty for a
// blank field; nullopt for anything else ("#FF0000", "F00").
std::optional<std::string> ParseColour(std::string_view text);
// A field of the feed fit to quote in a message: in double quotes, control characters shown as '?',
// cut after 60 bytes (never inside a character).
std::string Quoted(std::string_view text);

}  // namespace qiwu::import
