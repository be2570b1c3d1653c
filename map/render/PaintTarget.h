#pragma once
// Whether a painter records shapes rather than filling pixels: a PDF, a printer, a print preview.
// There the map paints its symbols, labels and translucent lines as shapes and text rather than as
// cached pictures, so that a page stays sharp at any zoom and its text can be found and copied.
#include <QPaintEngine>
#include <QPainter>

inline bool PaintsVectors(const QPainter& painter) {
  const QPaintEngine* engine = painter.paintEngine();
  return engine && engine->type() != QPaintEngine::Raster;
}
