#pragma once
// How a workspace layer is drawn: pen, casing, brush, point symbol and labels, read from the
// layer's \TABLE\n\STYLE\... and \TABLE\n\LABEL\... keys (docs/workspace-format.md).
// Widths and sizes are pixels on screen; label sizes are points; view widths are metres.
#include <QColor>
#include <QMap>
#include <QString>
#include <QStringList>
#include <limits>

// A drawing added along a line on top of its pen: Wall draws battlements (the city wall).
enum class LineDecoration { None, Wall };

struct LayerStyle {
  QColor penColor = QColor(80, 80, 80);
  double penWidth = 1.0;
  Qt::PenStyle penPattern = Qt::SolidLine;
  LineDecoration lineDecoration = LineDecoration::None;  // PEN\PATTERN "wall"

  QColor casingColor;  // invalid: no casing
  double casingWidth = 0;

  QColor brushColor;  // invalid: no fill
  Qt::BrushStyle brushPattern = Qt::SolidPattern;

  QString symbolShape = QStringLiteral("circle");
  double symbolSize = 8;
  QColor symbolColor = QColor(200, 60, 60);
  QColor symbolOutline = Qt::white;

  QString labelField;  // empty: no labels
  double labelSize = 9;
  QColor labelColor = Qt::black;
  QColor labelHalo = Qt::white;
  double labelMaxViewWidth = std::numeric_limits<double>::infinity();

  QString legendClass;  // LEGEND: the legend class this layer draws, if any
};

// Reads a layer's style from its keys, given without the "\TABLE\n\" prefix (e.g. "STYLE\PEN\COLOR").
// Unknown keys are ignored; a malformed value leaves the default and is reported in *error.
LayerStyle ParseLayerStyle(const QMap<QString, QString>& keys, QString* error = nullptr);

// The point symbol shapes the renderer draws (values of STYLE\SYMBOL\SHAPE).
const QStringList& SymbolShapes();
