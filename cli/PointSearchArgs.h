#pragma once
// The arguments shared by `radius` and `nearest`: a feature type and a point (X, Y) in map
// metres, followed by what the command itself reads, searched on the city's main workspace.
#include <QString>
#include <QStringList>

#include "cli/Command.h"
#include "map/Workspace.h"

struct PointSearchArgs {
  QString type;
  double x = 0;
  double y = 0;
  Workspace workspace;     // the main workspace, loaded
  Layer* layer = nullptr;  // the type's layer, or nullptr when the workspace lacks it
};

// Reads TYPE X Y (args must hold exactly argCount values) and loads the main workspace. Every
// value after TYPE (X, Y and a radius) that reads as NaN or an infinity is refused, naming it.
// Returns 0 on success; otherwise the exit code, with the problem written to standard error.
int ReadPointSearch(const CliContext& context, const QStringList& args, int argCount, const char* usage,
                    PointSearchArgs& out);
