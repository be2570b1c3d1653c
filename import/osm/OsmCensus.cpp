#include "import/osm/OsmCensus.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <osmium/handler.hpp>
#include <osmium/io/pbf_input.hpp>
#include <osmium/io/reader.hpp>
#include <osmium/io/xml_input.hpp>
#include <osmium/visitor.hpp>
#include <set>
#include <string_view>
#include <unordered_map>

#include "data/TransitMode.h"
#include "import/InputError.h"
#include "import/NaturalOrder.h"
#include "import/osm/OsmTags.h"

namespace qiwu::import::osm {
namespace {

// Keys GDAL's driver (and our osmconf.ini) passes over when it decides whether a feature counts.
bool Insignificant(std::string_view key) {
  for (std::string_view passed : {"created_by", "converted_by", "source", "time", "ele", "attribution",
                                  "note", "todo", "fixme", "FIXME", "area"})
    if (key == passed) return true;
  return key.starts_with("openGeoDB:");
}

// libosmium keeps an object's tags as keys and values back to back, each ended by a NUL, and finds
// each end when it walks them. A NUL inside a PBF string splits it in two: an odd number of them
// and the walk steps past the list's end. The list is checked with searches bounded by its end
// before any tag is read.
void CheckTags(const osmium::OSMObject& object) {
  const osmium::TagList& tags = object.tags();
  const char* at = reinterpret_cast<const char*>(tags.data()) + sizeof(osmium::TagList);
  const char* end = reinterpret_cast<const char*>(tags.data()) + tags.byte_size();
  std::size_t strings = 0;
  for (; at < end; ++strings) {
    const void* nul = std::memchr(at, 0, std::size_t(end - at));
    if (!nul) break;
    at = static_cast<const char*>(nul) + 1;
  }
  if (at != end || strings % 2 != 0)
    throw osmium::io_error(std::string(osmium::item_type_to_name(object.type())) + " " +
                           std::to_string(object.id()) + " has a tag whose key or value holds a NUL byte");
}

bool Significant(const osmium::TagList& tags, bool isNode) {
  for (const osmium::Tag& tag : tags)
    if (!Insignificant(tag.key()) || (!isNode && std::string_view(tag.key()) == "area")) return true;
  return false;
}

// An object's tags, read by the rules of OsmTags.
class ObjectTags : public Tags {
 public:
  explicit ObjectTags(const osmium::TagList& tags) : tags_(tags) {}
  std::string operator()(const char* key) const override { return tags_.get_value_by_key(key, ""); }

 private:
  const osmium::TagList& tags_;
};

struct Route {
  osmium::object_id_type id;
  std::string ref, name;
  std::string kind, mode, colour;             // route=value, its mode of transit, RRGGBB or ""
  std::vector<osmium::object_id_type> stops;  // node ids in member order
};

// The members that are the route's stops: those with a stop role, else those with a platform role,
// else every node member.
std::vector<osmium::object_id_type> StopMembers(const osmium::RelationMemberList& members) {
  for (std::string_view prefix : {"stop", "platform", ""}) {
    std::vector<osmium::object_id_type> nodes;
    for (const osmium::RelationMember& member : members)
      if (member.type() == osmium::item_type::node && std::string_view(member.role()).starts_with(prefix))
        nodes.push_back(member.ref());
    if (!nodes.empty()) return nodes;
  }
  return {};
}

class FirstPass : public osmium::handler::Handler {
 public:
  Census& census;
  std::vector<Route>& routes;
  const std::vector<std::string>& nameKeys;
  SourceReport& report;
  std::vector<osmium::object_id_type> taggedWays;
  std::vector<osmium::object_id_type> areaMembers;  // ways of multipolygon relations
  FirstPass(Census& c, std::vector<Route>& r, const std::vector<std::string>& k, SourceReport& into)
      : census(c), routes(r), nameKeys(k), report(into) {}

  void CountTaggedAreaMembers() {
    std::sort(taggedWays.begin(), taggedWays.end());
    std::sort(areaMembers.begin(), areaMembers.end());
    areaMembers.erase(std::unique(areaMembers.begin(), areaMembers.end()), areaMembers.end());
    for (osmium::object_id_type id : areaMembers)
      if (std::binary_search(taggedWays.begin(), taggedWays.end(), id)) ++census.taggedWaysInAreas;
  }

  void node(const osmium::Node& node) {
    CheckTags(node);
    if (!census.outsideNode && !node.location().valid() && node.location().is_defined()) {
      census.outsideNode = node.id();
      census.outsideAt = {node.location().lon_without_check(), node.location().lat_without_check()};
    }
    if (Significant(node.tags(), true)) ++census.taggedNodes;
  }
  void way(const osmium::Way& way) {
    CheckTags(way);
    if (way.nodes().size() < 2 || !Significant(way.tags(), false)) return;
    ++census.taggedWays;
    taggedWays.push_back(way.id());
  }
  void relation(const osmium::Relation& relation) {
    CheckTags(relation);
    const osmium::TagList& tags = relation.tags();
    const ObjectTags read(tags);
    if (tags.has_tag("type", "multipolygon") || tags.has_tag("type", "boundary")) {
      census.areaRelations.emplace_back(relation.id(), MainTag(read));
      for (const osmium::RelationMember& member : relation.members())
        if (member.type() == osmium::item_type::way) areaMembers.push_back(member.ref());
    }
    if (!tags.has_tag("type", "route")) return;
    Route route{relation.id(),
                NameFrom(read, {"ref"}),  // trimmed as names are
                NameFrom(read, nameKeys),
                ReportKind("route", read("route")),
                RouteMode(read("route")),
                RouteColour(read("colour")),
                {}};
    if (route.mode.empty()) {
      report.LeftOut(route.kind, "no rule");
      return;
    }
    if (route.colour.empty() && !read("colour").empty()) report.LeftOut("colour (of a route)", "not RRGGBB");
    route.stops = StopMembers(relation.members());
    routes.push_back(std::move(route));
  }
};

struct StopNode {
  std::string name;
  LonLat at;
};

class SecondPass : public osmium::handler::Handler {
 public:
  const std::set<osmium::object_id_type>& wanted;
  const std::vector<std::string>& nameKeys;
  std::unordered_map<osmium::object_id_type, StopNode>& found;
  SecondPass(const std::set<osmium::object_id_type>& w, const std::vector<std::string>& k,
             std::unordered_map<osmium::object_id_type, StopNode>& f)
      : wanted(w), nameKeys(k), found(f) {}

  void node(const osmium::Node& node) {
    if (!wanted.count(node.id()) || !node.location().valid()) return;
    CheckTags(node);
    if (std::string name = NameFrom(ObjectTags(node.tags()), nameKeys); !name.empty())
      found[node.id()] = {std::move(name), {node.location().lon(), node.location().lat()}};
  }
};

// Returns the file's header.
template <typename Handler>
osmium::io::Header Read(const std::string& path, osmium::osm_entity_bits::type what, Handler& handler) {
  try {
    osmium::io::Reader reader{osmium::io::File(path), what};
    osmium::io::Header header = reader.header();
    osmium::apply(reader, handler);
    reader.close();
    return header;
  } catch (const std::exception& failure) {
    throw InputError(path, 0, std::string("cannot read the OpenStreetMap file: ") + failure.what());
  }
}

// Lines are named by ref, else name; names that repeat become "ref (name)", then "ref (relation id)".
std::vector<std::string> LineNames(const std::vector<Route>& routes) {
  std::vector<std::string> names;
  for (const Route& route : routes)
    names.push_back(!route.ref.empty()    ? route.ref
                    : !route.name.empty() ? route.name
                                          : std::to_string(route.id));
  for (int round = 0; round < 2; ++round) {
    std::map<std::string, int> uses;
    for (const std::string& name : names) ++uses[name];
    for (std::size_t k = 0; k < routes.size(); ++k) {
      if (uses[names[k]] < 2) continue;
      const bool byName = round == 0 && !routes[k].name.empty() && routes[k].name != names[k];
      names[k] += " (" + (byName ? routes[k].name : std::to_string(routes[k].id)) + ")";
    }
  }
  return names;
}

TransitNetwork Lines(const std::vector<Route>& routes,
                     const std::unordered_map<osmium::object_id_type, StopNode>& stopNodes,
                     SourceReport& report) {
  TransitNetwork network;
  std::unordered_map<osmium::object_id_type, int> stopIndex;
  const std::vector<std::string> names = LineNames(routes);
  for (std::size_t k = 0; k < routes.size(); ++k) {
    TransitLine line{names[k], {}, {}, routes[k].mode, routes[k].colour};
    for (osmium::object_id_type id : routes[k].stops) {
      const auto node = stopNodes.find(id);
      if (node == stopNodes.end()) continue;  // not in the extract, or unnamed
      auto [index, added] = stopIndex.try_emplace(id, int(network.stops.size()));
      if (added) network.stops.push_back({node->second.name, node->second.at});
      line.stops.push_back(index->second);
      line.route.push_back(node->second.at);
    }
    if (line.stops.size() < 2) {
      report.LeftOut(routes[k].kind, "fewer than two stops");
      continue;
    }
    report.Kept(routes[k].kind, city::FindTransitMode(line.mode)->name);
    network.lines.push_back(std::move(line));
  }
  std::stable_sort(
      network.lines.begin(), network.lines.end(),
      [](const TransitLine& a, const TransitLine& b) { return CompareNaturally(a.name, b.name) < 0; });
  return network;
}

}  // namespace

Census TakeCensus(const std::string& path, const std::vector<std::string>& nameKeys, SourceReport& report,
                  const Progress& progress) {
  Census census;
  std::vector<Route> routes;
  FirstPass first(census, routes, nameKeys, report);
  const osmium::Box box = Read(path, osmium::osm_entity_bits::nwr, first).box();
  if (box.valid()) {
    census.bounds.Add({box.bottom_left().lon(), box.bottom_left().lat()});
    census.bounds.Add({box.top_right().lon(), box.top_right().lat()});
  }
  first.CountTaggedAreaMembers();
  if (progress)
    progress("  " + std::to_string(census.taggedNodes) + " tagged nodes, " +
             std::to_string(census.taggedWays) + " tagged ways, " + std::to_string(routes.size()) +
             " transit routes in the file");
  std::set<osmium::object_id_type> wanted;
  for (const Route& route : routes) wanted.insert(route.stops.begin(), route.stops.end());
  std::unordered_map<osmium::object_id_type, StopNode> stopNodes;
  if (!wanted.empty()) {
    SecondPass second(wanted, nameKeys, stopNodes);
    Read(path, osmium::osm_entity_bits::node, second);
  }
  census.transit = Lines(routes, stopNodes, report);
  return census;
}

}  // namespace qiwu::import::osm
