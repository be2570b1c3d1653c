// qiwu-cli layers: the main workspace's layers, top first: position (1 = top), name, feature
// count and the largest view width in metres at which the layer is drawn ("-" for no limit),
// tab-separated, one layer a line.
#include <cmath>
#include <cstdio>

#include "cli/Command.h"
#include "map/Workspace.h"

namespace {

int RunLayers(const CliContext& context, const QStringList& args) {
  if (!args.isEmpty()) {
    std::fprintf(stderr, "usage: qiwu-cli layers\n");
    return 2;
  }
  Workspace workspace;
  if (const Outcome loaded = LoadWorkspace(context.MainWorkspacePath(), workspace, context.serverConnection);
      !loaded.ok()) {
    std::fprintf(stderr, "layers: %s\n", qUtf8Printable(loaded.description));
    return 1;
  }
  QString text;
  int position = 1;
  for (auto it = workspace.layers.rbegin(); it != workspace.layers.rend(); ++it, ++position) {
    const Layer& layer = **it;
    const double limit = layer.MaxVisibleWidth();
    text += QStringLiteral("%1\t%2\t%3\t%4\n")
                .arg(position)
                .arg(layer.Name())
                .arg(layer.Store().Count())
                .arg(std::isinf(limit) ? QStringLiteral("-") : QString::number(limit, 'g', 15));
  }
  WriteOut(text);
  return 0;
}

const CommandRegistration reg{"layers", "layers", &RunLayers};

}  // namespace
