#include "import/gtfs/RowFields.h"

#include "import/gtfs/FieldText.h"

namespace qiwu::import {

void AddId(ById<std::uint32_t>& index, std::string_view id, std::uint32_t value, const CsvReader& csv,
           const std::string& column) {
  if (id.empty()) csv.Fail(column + " is empty");
  if (!index.emplace(std::string(id), value).second) csv.Fail(column + " " + Quoted(id) + " appears twice");
}

std::uint32_t Find(const ById<std::uint32_t>& index, std::string_view id, const CsvReader& csv,
                   const std::string& column) {
  const auto found = index.find(id);
  if (found == index.end()) csv.Fail("unknown " + column + " " + Quoted(id));
  return found->second;
}

std::uint32_t Whole(const CsvReader& csv, int column, const std::string& name) {
  const auto value = ParseWhole(csv[column]);
  if (!value) csv.Fail(name + " " + Quoted(csv[column]) + " is not a whole number");
  return *value;
}

std::uint32_t Code(const CsvReader& csv, int column, const std::string& name, std::uint32_t lowest,
                   std::uint32_t highest, std::optional<std::uint32_t> ifBlank) {
  if (ifBlank && Trimmed(csv[column]).empty()) return *ifBlank;
  const auto value = ParseWhole(csv[column]);
  if (!value || *value < lowest || *value > highest)
    csv.Fail(name + " " + Quoted(csv[column]) + " is not a whole number from " + std::to_string(lowest) +
             " to " + std::to_string(highest));
  return *value;
}

std::optional<std::int32_t> OptionalTime(const CsvReader& csv, int column, const std::string& name) {
  if (Trimmed(csv[column]).empty()) return std::nullopt;
  return Time(csv, column, name);
}

std::int32_t Time(const CsvReader& csv, int column, const std::string& name) {
  const auto seconds = ParseTime(csv[column]);
  if (!seconds) csv.Fail(name + " " + Quoted(csv[column]) + " is not a time H:MM:SS up to 47:59:59");
  return *seconds;
}

std::string Date(const CsvReader& csv, int column, const std::string& name) {
  const auto date = ParseDate(csv[column]);
  if (!date) csv.Fail(name + " " + Quoted(csv[column]) + " is not a date YYYYMMDD");
  return std::string(*date);
}

}  // namespace qiwu::import
