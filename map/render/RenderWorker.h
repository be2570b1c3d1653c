#pragma once
// Draws a map's frames on a thread of its own, so that the window never waits for a drawing: one frame
// at a time, from snapshots of the layers, each new request cancelling the frame still being drawn.
#include <QImage>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "map/MapView.h"
#include "map/Renderer.h"
#include "map/render/LayerSnapshot.h"

struct RenderedFrame {
  QImage image;  // view.Pixels() at the requested pixel ratio, white under the map
  MapView view;
  std::uint64_t number = 0;  // of the request
};

class RenderWorker {
 public:
  // done is called on the worker's thread with each frame finished (not with cancelled ones).
  explicit RenderWorker(std::function<void(RenderedFrame)> done);
  ~RenderWorker();  // cancels the frame being drawn and waits for the thread
  RenderWorker(const RenderWorker&) = delete;
  RenderWorker& operator=(const RenderWorker&) = delete;

  // Asks for a frame of layers (bottom to top) at view; returns the request's number.
  std::uint64_t Request(std::vector<LayerSnapshot> layers, const MapView& view, qreal pixelRatio,
                        const RenderOptions& options = {});

 private:
  struct Job {
    std::vector<LayerSnapshot> layers;
    MapView view;
    qreal ratio = 1;
    RenderOptions options;
    std::uint64_t number = 0;
  };
  void Run();

  std::function<void(RenderedFrame)> done_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Job> pending_;
  std::uint64_t requests_ = 0;
  bool stop_ = false;
  std::atomic<bool> cancel_{false};
  MapRenderer renderer_;  // used on the worker's thread only
  std::thread thread_;    // last: started once everything above exists
};
