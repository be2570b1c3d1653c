#pragma once
// The modes of transit a city's lines may have: the key the database and the line layer store
// (线路属性.mode, 公交路线.mode) and the name the window shows.
#include <string_view>

namespace city {

struct TransitMode {
  const char* key;
  const char* name;
};

inline constexpr TransitMode kTransitModes[] = {
    {"bus", "公交"},           {"trolleybus", "无轨电车"}, {"coach", "长途客车"}, {"tram", "有轨电车"},
    {"light_rail", "轻轨"},    {"subway", "地铁"},         {"monorail", "单轨"},  {"rail", "铁路"},
    {"funicular", "缆索铁路"}, {"cable_tram", "缆车"},     {"aerialway", "索道"}, {"ferry", "轮渡"},
    {"other", "其他交通"}};

// The mode of that key, or null.
inline const TransitMode* FindTransitMode(std::string_view key) {
  for (const TransitMode& mode : kTransitModes)
    if (key == mode.key) return &mode;
  return nullptr;
}

}  // namespace city
