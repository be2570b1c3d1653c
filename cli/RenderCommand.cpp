// qiwu-cli render: a PNG of the main workspace at a size in pixels, around a centre and across a
// view width in metres (default: the workspace's own centre and zoom), with the scale bar unless
// --no-scale-bar; or, to FILE.pdf, the printed page (features/MapPage.h) on A4 or A3 paper, its
// map across the view width. Picture options with a PDF, or page options with a picture, are
// usage errors.
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <optional>

#include "cli/Command.h"
#include "features/MapExport.h"
#include "features/PageSource.h"
#include "map/Renderer.h"
#include "map/Workspace.h"

namespace {

constexpr int kMaxPixels = 16384;

int Usage() {
  std::fprintf(
      stderr,
      "usage: qiwu-cli render --out FILE.png --width W --height H [--center X Y] [--view-width M]\n"
      "       [--no-scale-bar]\n"
      "       qiwu-cli render --out FILE.pdf [--title TEXT] [--paper A4|A3] [--landscape|--portrait]\n"
      "       [--center X Y] [--view-width M]\n");
  return 2;
}

int Refuse(const char* why) {
  std::fprintf(stderr, "render: %s\n", why);
  return Usage();
}

// What a command line asks for besides the view.
struct RenderRequest {
  QString out;
  double width = 0, height = 0;  // a picture's
  bool scaleBar = true;
  std::optional<QString> title;  // a page's, as the --paper and orientation options
  std::optional<QPageSize::PageSizeId> paper;
  std::optional<QPageLayout::Orientation> orientation;

  bool Pdf() const { return out.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive); }
  bool HasPictureOptions() const { return width != 0 || height != 0 || !scaleBar; }
  bool HasPageOptions() const { return title || paper || orientation; }
};

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

// The printed page of the view across viewWidth metres at centre, as a PDF.
int WritePage(const CliContext& context, const RenderRequest& request,
              const std::vector<const Layer*>& layers, MapPoint centre, double viewWidth) {
  mappage::PageSetup setup;
  setup.title = request.title.value_or(context.place.name);
  setup.source = mappage::PageSourceLine(context.place);
  setup.date = QDate::currentDate();
  setup.paper = request.paper.value_or(QPageSize::A4);
  setup.orientation = request.orientation.value_or(QPageLayout::Landscape);
  // A screen one pixel high: the page's map shows viewWidth across, whatever its height.
  const MapView screen(centre, viewWidth, QSize(1000, 1));
  QString error;
  if (!mapexport::WritePdf(request.out, layers, screen, setup, error)) {
    std::fprintf(stderr, "render: %s\n", qUtf8Printable(error));
    return 1;
  }
  WriteOut(QStringLiteral("%1\t%2 %3\n")
               .arg(request.out, QPageSize::name(setup.paper),
                    setup.orientation == QPageLayout::Landscape ? QStringLiteral("landscape")
                                                                : QStringLiteral("portrait")));
  return 0;
}

int RunRender(const CliContext& context, const QStringList& args) {
  RenderRequest request;
  double viewWidth = 0;
  MapPoint centre;
  bool hasCentre = false;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& option = args[i];
    if (option == "--no-scale-bar") {
      request.scaleBar = false;
      continue;
    }
    if (option == "--landscape" || option == "--portrait") {
      if (request.orientation) return Usage();
      request.orientation = option == "--landscape" ? QPageLayout::Landscape : QPageLayout::Portrait;
      continue;
    }
    const qsizetype values = option == "--center" ? 2 : 1;
    if (i + values >= args.size()) return Usage();
    const QString& value = args[i + 1];
    bool ok = true;
    if (option == "--out")
      request.out = value;
    else if (option == "--width")
      ok = ToNumber(value, request.width);
    else if (option == "--height")
      ok = ToNumber(value, request.height);
    else if (option == "--view-width")
      ok = ToNumber(value, viewWidth) && viewWidth > 0;
    else if (option == "--center")
      ok = hasCentre = ToNumber(value, centre.x) && ToNumber(args[i + 2], centre.y);
    else if (option == "--title")
      request.title = value;
    else if (option == "--paper" && (value == "A4" || value == "A3"))
      request.paper = value == "A4" ? QPageSize::A4 : QPageSize::A3;
    else
      return Usage();
    if (!ok) return Usage();
    i += values;
  }
  if (request.out.isEmpty()) return Usage();
  if (request.Pdf() && request.HasPictureOptions())
    return Refuse("--width, --height and --no-scale-bar are for pictures; a PDF page takes --paper");
  if (!request.Pdf() && request.HasPageOptions())
    return Refuse("--title, --paper, --landscape and --portrait are for a PDF page (--out FILE.pdf)");
  const double width = request.width, height = request.height;
  if (!request.Pdf() && (width < 1 || height < 1 || width > kMaxPixels || height > kMaxPixels ||
                         width != std::floor(width) || height != std::floor(height)))
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

  std::vector<const Layer*> layers;
  for (const auto& layer : workspace.layers) layers.push_back(layer.get());
  if (request.Pdf()) return WritePage(context, request, layers, centre, viewWidth);

  const MapView view(centre, viewWidth, QSize(int(width), int(height)));
  RenderOptions options;
  options.scaleBar = request.scaleBar;
  QImage image(view.Pixels(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  QElapsedTimer timer;
  timer.start();
  const RenderStats stats = MapRenderer().Render(painter, layers, view, options);
  const qint64 elapsed = timer.nsecsElapsed();
  painter.end();
  if (!image.save(request.out, "PNG")) {
    std::fprintf(stderr, "render: cannot write %s\n", qUtf8Printable(request.out));
    return 1;
  }
  WriteOut(QStringLiteral("%1\t%2 features\t%3 labels\t%4 ms\n")
               .arg(request.out)
               .arg(stats.featuresDrawn)
               .arg(stats.labels.size())
               .arg(elapsed / 1e6, 0, 'f', 1));
  return 0;
}

const CommandRegistration reg{
    "render",
    "render --out FILE.png --width W --height H [--center X Y] [--view-width M] [--no-scale-bar]\n"
    "  render --out FILE.pdf [--title TEXT] [--paper A4|A3] [--landscape|--portrait] [--center X Y]\n"
    "         [--view-width M]",
    &RunRender};

}  // namespace
