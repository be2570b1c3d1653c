#pragma once
// The packed columns of the timetable tables (docs/timetable.md): a stop pattern's platforms, a
// trip's times and its pickup and drop-off rules. Packing takes what the writer checked; unpacking
// takes bytes from a database and refuses anything the packing cannot have made.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dataset/Timetable.h"

namespace citygen {

inline constexpr ServiceSeconds kLastServiceSecond = 47 * 3600 + 59 * 60 + 59;

// Appends value as a LEB128 varint.
void AppendVarint(std::string& bytes, std::uint32_t value);

std::string PackPlatforms(const std::vector<Call>& calls);
// Times must lie within 0 … kLastServiceSecond and never decrease.
std::string PackTimes(const std::vector<Call>& calls);
// Empty when every call allows both pickup and drop-off.
std::string PackRules(const std::vector<Call>& calls);

// The platforms of a pattern, each below platformCount; nullopt when the bytes end inside a
// varint or name a platform that does not exist.
std::optional<std::vector<int>> UnpackPlatforms(std::string_view bytes, std::size_t platformCount);
// Fills the arrival and departure of every call; false when the bytes end inside a varint, hold
// more or fewer calls, or a time passes kLastServiceSecond.
bool UnpackTimes(std::string_view bytes, std::vector<Call>& calls);
// Fills pickup and drop-off of every call; false unless there is one byte per call, each rule 0 … 3.
bool UnpackRules(std::string_view bytes, std::vector<Call>& calls);

}  // namespace citygen
