#include "map/render/RenderWorker.h"

#include <QPainter>

RenderWorker::RenderWorker(std::function<void(RenderedFrame)> done)
    : done_(std::move(done)), thread_([this] { Run(); }) {}

RenderWorker::~RenderWorker() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    cancel_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

std::uint64_t RenderWorker::Request(std::vector<LayerSnapshot> layers, const MapView& view, qreal pixelRatio,
                                    const RenderOptions& options) {
  std::uint64_t number;
  {
    std::lock_guard lock(mutex_);
    number = ++requests_;
    pending_ = Job{std::move(layers), view, pixelRatio, options, number};
    cancel_ = true;  // the frame being drawn, if any, is no longer wanted
  }
  wake_.notify_one();
  return number;
}

void RenderWorker::Run() {
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || pending_; });
      if (stop_) return;
      job = std::move(*pending_);
      pending_.reset();
      cancel_ = false;
    }
    RenderedFrame frame{QImage(job.view.Pixels() * job.ratio, QImage::Format_ARGB32_Premultiplied), job.view,
                        job.number};
    frame.image.setDevicePixelRatio(job.ratio);
    frame.image.fill(Qt::white);
    {
      QPainter painter(&frame.image);
      renderer_.Render(painter, job.layers, job.view, job.options, &cancel_);
    }
    job.layers.clear();  // the snapshots go before the frame is handed over
    if (!cancel_) done_(std::move(frame));
  }
}
