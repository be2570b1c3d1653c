#pragma once
// Small OpenStreetMap files written by tests with libosmium: nodes, ways, route and other relations,
// as .osm XML or as .osm.pbf whose blocks are not compressed, so that a test can change bytes of
// strings.
#include <string>
#include <utility>
#include <vector>

namespace osmfixture {

using TagList = std::vector<std::pair<std::string, std::string>>;

struct Node {
  long id;
  double lon, lat;
  TagList tags;
};

struct Way {
  long id;
  std::vector<long> nodes;
  TagList tags;
};

// A type=route relation calling at `stops` (node ids, role "stop") besides `tags`; route=bus unless
// `tags` give a route.
struct Route {
  long id;
  std::vector<long> stops;
  TagList tags;
};

// Any other relation: its members are ways (an area's outer and inner ways, by role).
struct Relation {
  long id;
  std::vector<std::pair<long, std::string>> ways;  // way id, role
  TagList tags;
};

struct Content {
  std::vector<Node> nodes;
  std::vector<Way> ways;
  std::vector<Route> routes;
  std::vector<Relation> relations;
  std::vector<double> bounds;  // the header's box: west, south, east, north; none when empty
};

// Writes the file, XML when path ends in .osm, else PBF; returns path.
std::string WriteOsm(const std::string& path, const Content& content);
std::string WriteOsm(const std::string& path, const std::vector<Node>& nodes,
                     const std::vector<Route>& routes = {});

// Three named stops near Wuhan and route 5 calling at the first two.
std::string WriteSmallCity(const std::string& path);

// Replaces every occurrence of `from` in the file by `to` (of the same length); returns how many.
int ReplaceBytes(const std::string& path, const std::string& from, const std::string& to);

}  // namespace osmfixture
