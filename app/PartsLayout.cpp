#include "app/PartsLayout.h"

#include <QVariant>
#include <QWidget>
#include <algorithm>

#include "kit/Twips.h"

namespace qiwu {
namespace {

constexpr int kMapLeft = 2940, kMapTop = 840, kMapWidth = 12000, kMapHeight = 9120;
constexpr const char* kBaseProperty = "qiwuStartTwips";

// The twips a control had before the first stretch.
QRect Base(QWidget* widget) {
  const QVariant stored = widget->property(kBaseProperty);
  if (stored.isValid()) return stored.toRect();
  const QRect twips = TwipsGeometry(widget);
  widget->setProperty(kBaseProperty, twips);
  return twips;
}

}  // namespace

PartsGeometry ComputePartsGeometry(int width, int height, int scrollBar) {
  PartsGeometry g;
  const int w = std::max(width, kPartsWidth), h = std::max(height, kMinPartsHeight);
  g.grownRight = w - kPartsWidth;
  g.columnStretch = std::max(0, h - kPartsHeight);
  g.columnScrolls = h < kPartsHeight;
  g.columnHeight = kPartsHeight + g.columnStretch;
  const int columnWidth = kColumnWidth + (g.columnScrolls ? scrollBar : 0);
  g.column = QRect(0, 0, columnWidth, h);
  g.picMain = QRect(columnWidth, kMapTop, kMapLeft + kMapWidth + g.grownRight - columnWidth,
                    kMapHeight + h - kPartsHeight);
  return g;
}

void StretchPanel(QWidget* panel, QWidget* list, int stretch) {
  const QRect base = Base(panel);
  SetTwipsSize(panel, base.width(), base.height() + stretch);
  for (QWidget* grown = list; grown && grown != panel; grown = grown->parentWidget()) {
    const QRect own = Base(grown);
    SetTwipsSize(grown, own.width(), own.height() + stretch);
    for (QWidget* sibling : grown->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (sibling == grown || TwipsTop(sibling) < own.bottom()) continue;  // beside or above: stays
      SetTwipsTop(sibling, Base(sibling).top() + stretch);
    }
  }
}

}  // namespace qiwu
