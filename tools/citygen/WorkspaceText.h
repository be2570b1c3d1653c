#pragma once
// The text of a workspace (.gst) and its writing.
#include <string>
#include <utility>
#include <vector>

namespace citygen {

using WorkspaceKeys = std::vector<std::pair<std::string, std::string>>;

// One layer of a workspace; an empty layer or name leaves its key out. keys go without the
// "\TABLE\n\" prefix.
struct WorkspaceLayer {
  std::string file;
  std::string layer;
  std::string name;
  WorkspaceKeys keys;
};

// The header, the "\GEOSET\…" keys and the layers numbered from 1 (bottom first).
std::string WorkspaceText(const WorkspaceKeys& geoset, const std::vector<WorkspaceLayer>& layers);

// Writes text at path under a temporary name and renames it; returns an empty string or the error.
std::string ReplaceFile(const std::string& path, const std::string& text);

}  // namespace citygen
