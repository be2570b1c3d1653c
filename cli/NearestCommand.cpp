// qiwu-cli nearest TYPE X Y: the name of the feature of TYPE nearest to (X, Y), a tab, and its
// distance in metres with two decimals, as the nearest panel finds it.
#include <QStringList>
#include <cstdio>

#include "cli/Command.h"
#include "cli/PointSearchArgs.h"
#include "features/SpatialSearch.h"
#include "map/Geometry.h"

namespace {

int RunNearest(const CliContext& context, const QStringList& args) {
  PointSearchArgs search;
  if (const int failed = ReadPointSearch(context, args, 3, "nearest TYPE X Y", search)) return failed;
  const QString refusal = SearchRefusal(search.type, search.layer, true);
  if (!refusal.isEmpty()) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(refusal));
    return 1;
  }
  const Feature nearest = search.layer->NearestFeature({search.x, search.y});
  const double distance = Distance({search.x, search.y}, nearest.Center());
  WriteOut(nearest.DisplayName() + u'\t' + QString::number(distance, 'f', 2) + u'\n');
  return 0;
}

const CommandRegistration registration{"nearest", "nearest TYPE X Y", &RunNearest};

}  // namespace
