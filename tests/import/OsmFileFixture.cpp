#include "tests/import/OsmFileFixture.h"

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

std::string WriteOsm(const std::string& path, const std::vector<Node>& nodes,
                     const std::vector<Route>& routes) {
  osmium::memory::Buffer buffer{1 << 16, osmium::memory::Buffer::auto_grow::yes};
  for (const Node& node : nodes) {
    {
      osmium::builder::NodeBuilder builder{buffer};
      builder.set_id(node.id).set_version(1).set_visible(true);
      builder.set_location(osmium::Location{node.lon, node.lat});
      builder.set_user("");
      AddTags(builder, node.tags);
    }
    buffer.commit();
  }
  for (const Route& route : routes) {
    {
      osmium::builder::RelationBuilder builder{buffer};
      builder.set_id(route.id).set_version(1).set_visible(true);
      builder.set_user("");
      TagList tags{{"type", "route"}, {"route", "bus"}};
      tags.insert(tags.end(), route.tags.begin(), route.tags.end());
      AddTags(builder, tags);
      osmium::builder::RelationMemberListBuilder members{builder};
      for (const long stop : route.stops) members.add_member(osmium::item_type::node, stop, "stop");
    }
    buffer.commit();
  }
  osmium::io::Header header;
  header.set("generator", "qiwu tests");
  const bool xml = path.ends_with(".osm");
  osmium::io::Writer writer{osmium::io::File{path, xml ? "osm" : "pbf,pbf_compression=none"}, header,
                            osmium::io::overwrite::allow};
  writer(std::move(buffer));
  writer.close();
  return path;
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
