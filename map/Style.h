#pragma once
// How a workspace layer is drawn: pen, casing, brush, point symbol and labels, read from the
// layer's \TABLE\n\STYLE\... and \TABLE\n\LABEL\... keys (docs/workspace-format.md), and the
// cases that draw some of its features otherwise, chosen by the value of one attribute.
// Widths and sizes are pixels on screen; label sizes are points; view widths are metres.
#include <QColor>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <limits>
#include <vector>

struct StyleCase;

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

  // STYLE\BY: the attribute whose value chooses a case; features whose value has none are drawn in
  // the style above, and so is every feature while it is empty.
  QString caseField;
  std::vector<StyleCase> cases;  // ascending by value; their own styles have no cases
};

// STYLE\CASE\<value>\...: the layer's style with the case's keys laid over it, for the features
// whose caseField holds value exactly.
struct StyleCase {
  QString value;
  QString legend;  // the legend's label for the case
  LayerStyle style;
};

// The most cases a layer has: case numbers fit a byte.
inline constexpr int kMaxStyleCases = 64;

// The case number of an attribute value: 1 + its index in style.cases, 0 when no case has it.
int StyleCaseOf(const LayerStyle& style, QStringView value);

// The style of case number n of style (0: style itself).
inline const LayerStyle& CaseStyle(const LayerStyle& style, int n) {
  return n == 0 ? style : style.cases[std::size_t(n - 1)].style;
}

// Reads a layer's style from its keys, given without the "\TABLE\n\" prefix (e.g. "STYLE\PEN\COLOR").
// Unknown keys are ignored; a malformed value leaves the default and is reported in *error.
LayerStyle ParseLayerStyle(const QMap<QString, QString>& keys, QString* error = nullptr);

// The point symbol shapes the renderer draws (values of STYLE\SYMBOL\SHAPE).
const QStringList& SymbolShapes();
