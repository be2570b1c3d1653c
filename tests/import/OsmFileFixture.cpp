#include "tests/import/OsmFileFixture.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <osmium/builder/osm_object_builder.hpp>
#include <osmium/io/pbf_output.hpp>
#include <osmium/io/writer.hpp>
#include <osmium/io/xml_output.hpp>
#include <osmium/memory/buffer.hpp>
#include <stdexcept>

namespace osmfixture {
namespace {

template <typename Builder>
void AddTags(Builder& object, const TagList& tags) {
  osmium::builder::TagListBuilder list{object};
  for (const auto& [key, value] : tags) list.add_tag(key, value);
}

}  // namespace

std::string WriteOsm(const std::string& path, const Content& content) {
  osmium::memory::Buffer buffer{1 << 16, osmium::memory::Buffer::auto_grow::yes};
  for (const Node& node : content.nodes) {
    {
      osmium::builder::NodeBuilder builder{buffer};
      builder.set_id(node.id).set_version(1).set_visible(true);
      builder.set_location(osmium::Location{node.lon, node.lat});
      builder.set_user("");
      AddTags(builder, node.tags);
    }
    buffer.commit();
  }
  for (const Way& way : content.ways) {
    {
      osmium::builder::WayBuilder builder{buffer};
      builder.set_id(way.id).set_version(1).set_visible(true);
      builder.set_user("");
      AddTags(builder, way.tags);
      osmium::builder::WayNodeListBuilder nodes{builder};
      for (const long node : way.nodes) nodes.add_node_ref(node);
    }
    buffer.commit();
  }
  const auto addRelation = [&](long id, const TagList& tags, const auto& addMembers) {
    {
      osmium::builder::RelationBuilder builder{buffer};
      builder.set_id(id).set_version(1).set_visible(true);
      builder.set_user("");
      AddTags(builder, tags);
      osmium::builder::RelationMemberListBuilder members{builder};
      addMembers(members);
    }
    buffer.commit();
  };
  for (const Route& route : content.routes) {
    TagList tags{{"type", "route"}};
    if (std::none_of(route.tags.begin(), route.tags.end(),
                     [](const auto& tag) { return tag.first == "route"; }))
      tags.emplace_back("route", "bus");
    tags.insert(tags.end(), route.tags.begin(), route.tags.end());
    addRelation(route.id, tags, [&](osmium::builder::RelationMemberListBuilder& members) {
      for (const long stop : route.stops) members.add_member(osmium::item_type::node, stop, "stop");
    });
  }
  for (const Relation& relation : content.relations)
    addRelation(relation.id, relation.tags, [&](osmium::builder::RelationMemberListBuilder& members) {
      for (const auto& [way, role] : relation.ways)
        members.add_member(osmium::item_type::way, way, role.c_str());
    });
  osmium::io::Header header;
  header.set("generator", "qiwu tests");
  if (content.bounds.size() == 4)
    header.add_box(osmium::Box{content.bounds[0], content.bounds[1], content.bounds[2], content.bounds[3]});
  const bool xml = path.ends_with(".osm");
  osmium::io::Writer writer{osmium::io::File{path, xml ? "osm" : "pbf,pbf_compression=none"}, header,
                            osmium::io::overwrite::allow};
  writer(std::move(buffer));
  writer.close();
  return path;
}

std::string WriteOsm(const std::string& path, const std::vector<Node>& nodes,
                     const std::vector<Route>& routes) {
  return WriteOsm(path, Content{nodes, {}, routes, {}, {}});
}

std::string WriteSmallCity(const std::string& path) {
  return WriteOsm(path,
                  {{1, 114.30, 30.55, {{"highway", "bus_stop"}, {"name", "甲站"}}},
                   {2, 114.31, 30.56, {{"highway", "bus_stop"}, {"name", "乙站"}}},
                   {3, 114.32, 30.57, {{"highway", "bus_stop"}, {"name", "丙站"}}}},
                  {{10, {1, 2}, {{"ref", "5"}, {"name", "五路"}}}});
}

int ReplaceBytes(const std::string& path, const std::string& from, const std::string& to) {
  if (from.size() != to.size() || from.empty()) throw std::invalid_argument("ReplaceBytes: sizes differ");
  std::string bytes;
  {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  int replaced = 0;
  for (std::size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + 1)) {
    bytes.replace(at, from.size(), to);
    ++replaced;
  }
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  return replaced;
}

}  // namespace osmfixture
