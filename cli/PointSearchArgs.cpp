#include "cli/PointSearchArgs.h"

#include <cmath>
#include <cstdio>
#include <iterator>

#include "features/SpatialSearch.h"

namespace {
// NaN, an infinity or a number beyond double range would pass on into the searches unnoticed.
bool RefusedAsNonFinite(const char* name, const QString& text) {
  if (std::isfinite(text.toDouble())) return false;
  std::fprintf(stderr, "qiwu-cli: %s is not a finite number: %s\n", name, qUtf8Printable(text));
  return true;
}
}  // namespace

int ReadPointSearch(const CliContext& context, const QStringList& args, int argCount, const char* usage,
                    PointSearchArgs& out) {
  if (args.size() != argCount) {
    std::fprintf(stderr, "usage: qiwu-cli %s\n", usage);
    return 2;
  }
  const char* const names[] = {"TYPE", "X", "Y", "R"};
  for (int i = 1; i < argCount && i < int(std::size(names)); ++i)
    if (RefusedAsNonFinite(names[i], args[i])) return 2;
  bool okX = false, okY = false;
  out.x = args[1].toDouble(&okX);
  out.y = args[2].toDouble(&okY);
  if (!okX || !okY) {
    std::fprintf(stderr, "usage: qiwu-cli %s\n", usage);
    return 2;
  }
  const Outcome loaded = LoadWorkspace(context.MainWorkspacePath(), out.workspace, context.serverConnection);
  if (!loaded.ok()) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(loaded.description));
    return 1;
  }
  out.type = args[0];
  out.layer = FindWorkspaceLayer(out.workspace, out.type);
  return 0;
}
