#include "mapwidgets/MapControl.h"

#include <QEventLoop>
#include <QPainter>
#include <QResizeEvent>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <optional>

#include "map/ScaleBar.h"
#include "map/Workspace.h"
#include "mapwidgets/tools/NavigationTools.h"
#include "mapwidgets/tools/SelectTools.h"
#include "mapwidgets/tools/UserTools.h"

namespace {

constexpr double kPickPixels = 4;  // how near a click must come to a point or line to hit it

int ButtonCode(Qt::MouseButton b) {
  return b == Qt::LeftButton ? 1 : b == Qt::RightButton ? 2 : b == Qt::MiddleButton ? 4 : 0;
}

int ShiftCode(Qt::KeyboardModifiers m) {
  return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

}  // namespace

MapControl::MapControl(QWidget* parent) : QWidget(parent) {
  worker_ = std::make_unique<RenderWorker>([this](RenderedFrame frame) {
    QMetaObject::invokeMethod(
        this, [this, frame = std::move(frame)]() mutable { FrameDrawn(std::move(frame)); },
        Qt::QueuedConnection);
  });
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  view_.SetPixels(size());
  tools_[kToolPointer] = std::make_unique<MapTool>(*this, kToolPointer);
  tools_[kToolPan] = std::make_unique<PanTool>(*this, kToolPan);
  tools_[kToolZoomIn] = std::make_unique<ZoomTool>(*this, kToolZoomIn, 2.0);
  tools_[kToolZoomOut] = std::make_unique<ZoomTool>(*this, kToolZoomOut, 0.5);
  tools_[kToolSelectPoint] = std::make_unique<SelectPointTool>(*this, kToolSelectPoint);
  tools_[kToolSelectRadius] = std::make_unique<SelectRadiusTool>(*this, kToolSelectRadius);
  tools_[kToolSelectRect] = std::make_unique<SelectRectTool>(*this, kToolSelectRect);
}

MapControl::~MapControl() { worker_.reset(); }  // before the layers its frame may still be drawing from go

Outcome MapControl::LoadWorkspace(const QString& gstPath, const QString& serverConnection) {
  Workspace workspace;
  const Outcome result = ::LoadWorkspace(gstPath, workspace, serverConnection);
  if (!result.ok()) return result;

  bool hadSelection = false;
  for (const auto& layer : layers_) hadSelection |= layer->Selection().Count() > 0;
  Tool().Deactivate();
  layers_.clear();
  for (auto it = workspace.layers.rbegin(); it != workspace.layers.rend(); ++it) {
    (*it)->SetHost(this);
    layers_.push_back(std::move(*it));
  }

  MapView view = view_;
  std::optional<MapRect> extent;
  for (const auto& layer : layers_)
    if (layer->Store().Count() > 0) extent = extent ? extent->United(layer->Bounds()) : layer->Bounds();
  view.SetPixels(size());
  if (extent) view.FitRect(*extent);
  if (workspace.file.hasCenter) view.SetCenter(workspace.file.center);
  if (workspace.file.zoomLevel > 0) view.SetWidth(workspace.file.zoomLevel);
  // A load always reports its view, even one equal to the last, so that what follows the view
  // (the overview's frame) is drawn for the new layers.
  view_ = view;
  projection_ = workspace.file.projection;
  cacheDirty_ = true;
  update();
  emit ViewChanged();
  if (hadSelection) emit SelectionModified();
  return result;
}

void MapControl::SetViewWidth(double metres) {
  if (!(metres > 0) || !std::isfinite(metres)) return;
  MapView view = view_;
  view.SetWidth(metres);
  ApplyView(view);
}

void MapControl::SetCenterX(double x) {
  MapView view = view_;
  view.SetCenter({x, view.Center().y});
  ApplyView(view);
}

void MapControl::SetCenterY(double y) {
  MapView view = view_;
  view.SetCenter({view.Center().x, y});
  ApplyView(view);
}

void MapControl::SetBounds(const MapRect& r) {
  MapView view = view_;
  if (r.Width() > 0 || r.Height() > 0) {
    view.FitRect(r);
  } else {
    view.SetCenter({r.CenterX(), r.CenterY()});  // a point: keep the width
  }
  ApplyView(view);
}

void MapControl::SetView(const MapView& view) { ApplyView(view); }

void MapControl::PanByPixels(QPoint offset) {
  if (offset.isNull()) return;
  MapView view = view_;
  const double pixel = view.PixelSize();
  view.SetCenter({view.Center().x - offset.x() * pixel, view.Center().y + offset.y() * pixel});
  ApplyView(view);
}

void MapControl::ZoomAbout(QPointF anchor, double factor) {
  if (!(factor > 0) || !std::isfinite(factor)) return;
  // A limit cuts the factor but never turns a zoom in into a zoom out, nor the other way round.
  const double width = view_.Width();
  double target = width * factor;
  if (factor < 1) target = std::max(target, std::min(minUserWidth_, width));
  if (factor > 1) target = std::min(target, std::max(maxUserWidth_, width));
  const double cut = target / width;
  const MapPoint at = view_.ToMap(anchor);
  MapView view = view_;
  view.SetWidth(target);
  view.SetCenter({at.x + (view_.Center().x - at.x) * cut, at.y + (view_.Center().y - at.y) * cut});
  ApplyView(view);
}

void MapControl::SetUserZoomLimits(double minWidth, double maxWidth) {
  minUserWidth_ = minWidth;
  maxUserWidth_ = maxWidth;
}

void MapControl::ApplyView(MapView view) {
  view.SetPixels(size());
  if (view == view_) return;
  view_ = view;
  cacheDirty_ = true;
  update();
  emit ViewChanged();
}

void MapControl::ActivateTool(int tool) {
  if (!tools_.count(tool)) return;
  Tool().Deactivate();
  currentTool_ = tool;
  setCursor(Tool().Cursor());
  update();
}

void MapControl::DefineUserTool(int number, int kind, int cursor) {
  const QCursor shape = cursor == kCursorCrossHair ? Qt::CrossCursor : Qt::ArrowCursor;
  std::unique_ptr<MapTool> tool;
  if (kind == kUserToolPoint) tool = std::make_unique<UserPointTool>(*this, number, shape);
  if (kind == kUserToolPolyline) tool = std::make_unique<UserPolylineTool>(*this, number, shape);
  if (!tool) return;
  if (number == currentTool_) Tool().Deactivate();
  tools_[number] = std::move(tool);
  if (number == currentTool_) setCursor(Tool().Cursor());
}

double MapControl::MeasureDistance(double x1, double y1, double x2, double y2) const {
  return std::hypot(x2 - x1, y2 - y1);
}

void MapControl::SetScaleBar(bool on) {
  scaleBar_ = on;
  update();
}

void MapControl::Redraw() {
  cacheDirty_ = true;
  update();
}

Layer* MapControl::FindLayer(const QString& name) const {
  for (const auto& layer : layers_)
    if (layer->Name() == name) return layer.get();
  return nullptr;
}

Layer* MapControl::LayerAt(int position) const {
  return position >= 1 && position <= LayerCount() ? layers_[std::size_t(position - 1)].get() : nullptr;
}

Layer* MapControl::CreateTemporaryLayer(const QString& name) {
  auto layer = std::make_unique<Layer>(name, FeatureStore({QStringLiteral("name")}), true);
  layer->SetHost(this);
  layers_.insert(layers_.begin(), std::move(layer));
  Redraw();
  return layers_.front().get();
}

std::vector<const Layer*> MapControl::LayersBottomToTop() const {
  std::vector<const Layer*> layers;
  for (auto it = layers_.rbegin(); it != layers_.rend(); ++it) layers.push_back(it->get());
  return layers;
}

std::vector<Layer*> MapControl::SelectableLayers() const {
  std::vector<Layer*> layers;
  for (const auto& layer : layers_)
    if (!layer->IsTemporary() && layer->IsDrawnAt(ViewWidth())) layers.push_back(layer.get());
  return layers;
}

void MapControl::UnselectAll() {
  batchingSelection_ = true;
  selectionChangedInBatch_ = false;
  for (const auto& layer : layers_) layer->Selection().Clear();
  batchingSelection_ = false;
  if (selectionChangedInBatch_) {
    Redraw();
    emit SelectionModified();
  }
}

Feature MapControl::MakePointFeature(MapPoint p, const FeatureStyle& style) const {
  return Feature(kFeaturePoint, {p}, style);
}

Feature MapControl::MakeRegionFeature(const MapRect& r, const FeatureStyle& style) const {
  return Feature(kFeatureRegion,
                 {{r.minX, r.minY}, {r.maxX, r.minY}, {r.maxX, r.maxY}, {r.minX, r.maxY}, {r.minX, r.minY}},
                 style);
}

Feature MapControl::MakePolylineFeature(const std::vector<MapPoint>& points,
                                        const FeatureStyle& style) const {
  return Feature(kFeatureLine, points, style);
}

void MapControl::SetPanOffset(QPoint offset) {
  panOffset_ = offset;
  update();
}

void MapControl::LayerSelectionChanged(Layer&) {
  if (batchingSelection_) {
    selectionChangedInBatch_ = true;
    return;
  }
  Redraw();
  emit SelectionModified();
}

void MapControl::LayerContentChanged(Layer&) { Redraw(); }

double MapControl::PickTolerance() const { return kPickPixels * view_.PixelSize(); }

void MapControl::StartFrame() {
  cacheDirty_ = false;
  frameWanted_ =
      worker_->Request(Snapshots(LayersBottomToTop()), view_, devicePixelRatioF(), RenderOptions());
}

void MapControl::FrameDrawn(RenderedFrame frame) {
  if (frame.number < frameShown_) return;
  frameShown_ = frame.number;
  cache_ = std::move(frame.image);
  cacheView_ = frame.view;
  update();
  if (frameShown_ == frameWanted_ && !cacheDirty_) emit FrameReady();
}

bool MapControl::WaitForFrame(int timeoutMs) {
  if (cacheDirty_) StartFrame();
  if (frameShown_ == frameWanted_) return true;
  QEventLoop loop;
  connect(this, &MapControl::FrameReady, &loop, &QEventLoop::quit);
  QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
  loop.exec();
  return frameShown_ == frameWanted_;
}

void MapControl::paintEvent(QPaintEvent*) {
  // While a pan is dragged the last image moves with the mouse; the new one is drawn on release.
  if (cacheDirty_ && panOffset_.isNull()) StartFrame();
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!cache_.isNull()) {
    // The last frame where its map lies in the view now, until the new one is drawn.
    const MapRect shown = cacheView_.Extent();
    const QPointF topLeft = view_.ToScreen({shown.minX, shown.maxY});
    const double scale = cacheView_.PixelSize() / view_.PixelSize();
    const QSizeF size = cache_.deviceIndependentSize() * scale;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, scale != 1);
    painter.drawImage(QRectF(topLeft + panOffset_, size), cache_);
  }
  // Over the frame rather than in it, so that it keeps its corner while a pan is dragged and tells the
  // scale of the view now while a zoom waits for its frame.
  if (scaleBar_) DrawScaleBar(painter, view_);
  Tool().PaintOverlay(painter);
}

// A larger map shows more at the same scale rather than the same ground larger.
void MapControl::resizeEvent(QResizeEvent* event) {
  MapView view = view_;
  if (event->oldSize().width() > 0 && event->size().width() > 0)
    view.SetWidth(view_.PixelSize() * event->size().width());
  ApplyView(view);
}

void MapControl::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  emit MouseDown(ButtonCode(event->button()), ShiftCode(event->modifiers()), event->position().x(),
                 event->position().y());
  // The middle button pans whatever the tool; the tools see only the other buttons.
  if (event->button() == Qt::MiddleButton && userNavigation_ && panOffset_.isNull()) {
    middleDragStart_ = event->position().toPoint();
    setCursor(Qt::ClosedHandCursor);
    return;
  }
  Tool().Press(event);
}

void MapControl::mouseMoveEvent(QMouseEvent* event) {
  const MapPoint at = ScreenToMap(event->position().x(), event->position().y());
  emit CursorMoved(at.x, at.y);
  if (middleDragStart_) {
    SetPanOffset(event->position().toPoint() - *middleDragStart_);
    return;
  }
  Tool().Move(event);
}

void MapControl::mouseReleaseEvent(QMouseEvent* event) {
  if (middleDragStart_ && event->button() == Qt::MiddleButton) {
    const QPoint offset = event->position().toPoint() - *middleDragStart_;
    middleDragStart_.reset();
    SetPanOffset({});
    setCursor(Tool().Cursor());
    PanByPixels(offset);
    return;
  }
  Tool().Release(event);
}

void MapControl::mouseDoubleClickEvent(QMouseEvent* event) { Tool().DoubleClick(event); }

void MapControl::keyPressEvent(QKeyEvent* event) {
  Tool().Key(event);
  if (userNavigation_ && NavigateByKey(event->key())) return;
  QWidget::keyPressEvent(event);
}

bool MapControl::NavigateByKey(int key) {
  // An arrow shows a quarter of the view more on its side; + and - zoom about the centre.
  const int across = width() / 4, down = height() / 4;
  const QPointF centre(width() / 2.0, height() / 2.0);
  switch (key) {
    case Qt::Key_Left:
      PanByPixels({across, 0});
      return true;
    case Qt::Key_Right:
      PanByPixels({-across, 0});
      return true;
    case Qt::Key_Up:
      PanByPixels({0, down});
      return true;
    case Qt::Key_Down:
      PanByPixels({0, -down});
      return true;
    case Qt::Key_Plus:
      ZoomAbout(centre, 0.5);
      return true;
    case Qt::Key_Minus:
      ZoomAbout(centre, 2);
      return true;
    default:
      return false;
  }
}

void MapControl::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y();
  if (!userNavigation_ || steps == 0) {
    QWidget::wheelEvent(event);
    return;
  }
  // One notch (120) halves or doubles the width.
  ZoomAbout(event->position(), std::pow(2.0, -steps / 120.0));
  event->accept();
}
