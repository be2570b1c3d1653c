#pragma once
// The fields of a feed's current record read as what they must be, and ids looked up; bad input
// fails with the file and line (InputError).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "import/gtfs/CsvReader.h"

namespace qiwu::import {

struct IdHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view id) const { return std::hash<std::string_view>{}(id); }
};
template <class T>
using ById = std::unordered_map<std::string, T, IdHash, std::equal_to<>>;

// Adds a non-empty id not yet in `index`.
void AddId(ById<std::uint32_t>& index, std::string_view id, std::uint32_t value, const CsvReader& csv,
           const std::string& column);
std::uint32_t Find(const ById<std::uint32_t>& index, std::string_view id, const CsvReader& csv,
                   const std::string& column);

// A whole number from 0 to 4294967295.
std::uint32_t Whole(const CsvReader& csv, int column, const std::string& name);
// A whole number from `lowest` to `highest`; a blank field is `ifBlank`, or refused without one.
std::uint32_t Code(const CsvReader& csv, int column, const std::string& name, std::uint32_t lowest,
                   std::uint32_t highest, std::optional<std::uint32_t> ifBlank = std::nullopt);
// A time H:MM:SS in seconds; nullopt for a blank field.
std::optional<std::int32_t> OptionalTime(const CsvReader& csv, int column, const std::string& name);
std::int32_t Time(const CsvReader& csv, int column, const std::string& name);
// A date YYYYMMDD that exists.
std::string Date(const CsvReader& csv, int column, const std::string& name);

}  // namespace qiwu::import
