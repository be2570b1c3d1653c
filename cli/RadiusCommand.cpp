// qiwu-cli radius TYPE X Y R: the display names of the features of TYPE lying wholly inside the
// circle of R metres around (X, Y), one a line, in the order the radius panel lists them.
#include <QStringList>
#include <cstdio>

#include "cli/Command.h"
#include "cli/PointSearchArgs.h"
#include "features/SpatialSearch.h"

namespace {

int RunRadius(const CliContext& context, const QStringList& args) {
  PointSearchArgs search;
  if (const int failed = ReadPointSearch(context, args, 4, "radius TYPE X Y R", search)) return failed;
  const float radius = RadiusFromText(args[3]);
  QString refusal = SearchRefusal(search.type, search.layer, false);
  if (refusal.isEmpty()) refusal = RadiusRefusal(radius);
  if (!refusal.isEmpty()) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(refusal));
    return 1;
  }
  QString out;
  for (const Feature& feature : FeaturesInRadius(*search.layer, {search.x, search.y}, radius))
    out += feature.DisplayName() + u'\n';
  WriteOut(out);
  return 0;
}

const CommandRegistration registration{"radius", "radius TYPE X Y R", &RunRadius};

}  // namespace
