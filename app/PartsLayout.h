#pragma once
// Where the main window's resizable parts go when its Parts' area (the controls placed in twips,
// between the top strip and the status bar) is larger or smaller than its start size. At the
// start size every control keeps its twips. Larger: the map takes the extra width and height,
// the drawers and Picture4 keep to its right edge, the panel column's panels and lists grow
// downward and the overview stays at the column's bottom. Smaller: the map gives up height down
// to kMinPartsHeight and the column scrolls. All values are twips in the Parts' area.
#include <QRect>

class QWidget;

namespace qiwu {

inline constexpr int kPartsWidth = 15435;  // the start size
inline constexpr int kPartsHeight = 10080;
inline constexpr int kMinPartsHeight = 7200;  // with the strips, fits a 1280 x 720 screen
inline constexpr int kColumnWidth = 2940;     // the panel column, left of the map

struct PartsGeometry {
  int grownRight = 0;     // twips the map's right edge lies beyond its start place
  int columnStretch = 0;  // twips the column's panels grow downward (never below 0)
  bool columnScrolls = false;
  QRect column;          // the scroll area holding the column
  int columnHeight = 0;  // the column's content
  QRect picMain;
};

// The geometry for a Parts' area of width x height twips; scrollBar: a scroll bar's width in twips.
PartsGeometry ComputePartsGeometry(int width, int height, int scrollBar);

// Grows panel by stretch twips below its start height, and with it list (a control inside it,
// or null) and each frame holding list; what lies below the list or such a frame moves down.
// Every control keeps its start twips as the base, so stretching back to 0 restores them.
void StretchPanel(QWidget* panel, QWidget* list, int stretch);

}  // namespace qiwu
