// qiwu-cli render: a PNG of the main workspace at a size in pixels, around a centre and across a
// view width in metres (default: the workspace's own centre and zoom), with the scale bar unless
// --no-scale-bar.
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdio>

#include "cli/Command.h"
#include "map/Renderer.h"
#include "map/Workspace.h"

namespace {

constexpr int kMaxPixels = 16384;

int Usage() {
  std::fprintf(stderr,
               "usage: qiwu-cli render --out FILE.png --width W --height H [--center X Y] [--view-width M]\n"
               "       [--no-scale-bar]\n");
  return 2;
}

bool ToNumber(const QString& text, double& out) {
  bool ok = false;
  out = text.toDouble(&ok);
  return ok && std::isfinite(out);
}

// The extent of all layers; the fallback view when the workspace names no centre or zoom.
MapRect Extent(const Workspace& workspace) {
  MapRect all;
  bool first = true;
  for (const auto& layer : workspace.layers) {
    if (layer->Store().Count() == 0) continue;
    const MapRect b = layer->Bounds();
    all = first ? b
                : MapRect{std::min(all.minX, b.minX), std::min(all.minY, b.minY), std::max(all.maxX, b.maxX),
                          std::max(all.maxY, b.maxY)};
    first = false;
  }
  return all;
}

int RunRender(const CliContext& context, const QStringList& args) {
  QString out;
  double width = 0, height = 0, viewWidth = 0;
  MapPoint centre;
  bool hasCentre = false;
  RenderOptions options;
  options.scaleBar = true;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& option = args[i];
    if (option == "--no-scale-bar") {
      options.scaleBar = false;
      continue;
    }
    const qsizetype values = option == "--center" ? 2 : 1;
    if (i + values >= args.size()) return Usage();
    bool ok = true;
    if (option == "--out")
      out = args[i + 1];
    else if (option == "--width")
      ok = ToNumber(args[i + 1], width);
    else if (option == "--height")
      ok = ToNumber(args[i + 1], height);
    else if (option == "--view-width")
      ok = ToNumber(args[i + 1], viewWidth) && viewWidth > 0;
    else if (option == "--center")
      ok = hasCentre = ToNumber(args[i + 1], centre.x) && ToNumber(args[i + 2], centre.y);
    else
      return Usage();
    if (!ok) return Usage();
    i += values;
  }
  if (out.isEmpty() || width < 1 || height < 1 || width > kMaxPixels || height > kMaxPixels ||
      width != std::floor(width) || height != std::floor(height))
    return Usage();

  Workspace workspace;
  if (const Outcome loaded = LoadWorkspace(context.MainWorkspacePath(), workspace, context.serverConnection);
      !loaded.ok()) {
    std::fprintf(stderr, "render: %s\n", qUtf8Printable(loaded.description));
    return 1;
  }
  const MapRect extent = Extent(workspace);
  if (!hasCentre)
    centre = workspace.file.hasCenter ? workspace.file.center : MapPoint{extent.CenterX(), extent.CenterY()};
  if (viewWidth <= 0)
    viewWidth = workspace.file.zoomLevel > 0 ? workspace.file.zoomLevel : std::max(extent.Width(), 1.0);

  const MapView view(centre, viewWidth, QSize(int(width), int(height)));
  QImage image(view.Pixels(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  std::vector<const Layer*> layers;
  for (const auto& layer : workspace.layers) layers.push_back(layer.get());
  QPainter painter(&image);
  QElapsedTimer timer;
  timer.start();
  const RenderStats stats = MapRenderer().Render(painter, layers, view, options);
  const qint64 elapsed = timer.nsecsElapsed();
  painter.end();
  if (!image.save(out, "PNG")) {
    std::fprintf(stderr, "render: cannot write %s\n", qUtf8Printable(out));
    return 1;
  }
  WriteOut(QStringLiteral("%1\t%2 features\t%3 labels\t%4 ms\n")
               .arg(out)
               .arg(stats.featuresDrawn)
               .arg(stats.labels.size())
               .arg(elapsed / 1e6, 0, 'f', 1));
  return 0;
}

const CommandRegistration reg{
    "render", "render --out FILE.png --width W --height H [--center X Y] [--view-width M] [--no-scale-bar]",
    &RunRender};

}  // namespace
