#pragma once
// The two drawers on the right edge of the main window: picInfo(0), the information card of the
// selected feature, and picInfo(1), the legend. A click on a drawer's tab slides it open over the
// map (Left 10800 twips) or back (Left 14940). Also the handler of Map1's SelectionModified,
// which writes the single selected feature into txtObjName and, while the card is open, fills
// the card for a restaurant. The controls are children of the drawers; this object lives as
// long as picInfo(0).
#include <QCursor>
#include <QImage>
#include <QObject>
#include <array>

class CityDatabase;
class Feature;
class QLabel;
class QLineEdit;
class QScrollBar;
class QWidget;
class MapControl;
namespace qiwu {
class ImageControl;
}

class InfoDrawers : public QObject {
  Q_OBJECT

 public:
  static constexpr int kClosedLeft = 14940;  // twips, in a window of its start size
  static constexpr int kOpenLeft = 10800;

  // The window grew (or shrank back) by shift twips: both drawers keep to the map's right edge,
  // closed at kClosedLeft + shift and open at kOpenLeft + shift.
  void KeepToRightEdge(int shift);

  // txtObjName is the main window's name box in Picture4; hand is the cursor shown over the tabs
  // and a non-empty link (the toolbar image list's "Hand" in the main window).
  // Map1 is the main map whose selection the card follows and whose styles the legend shows;
  // database, which outlives the drawers, gives the card's details.
  InfoDrawers(QWidget* picInfo0, QWidget* picInfo1, MapControl& Map1, CityDatabase& database,
              QLineEdit* txtObjName, const QCursor& hand);

  std::array<QWidget*, 2> picInfo;
  std::array<qiwu::ImageControl*, 2> imgInfo;  // the tabs "详细信息" and "图例"
  std::array<QLabel*, 5> lbl;                  // the card's captions
  QLabel* lblName;
  QLabel* lblLinkman;
  QLabel* lblTel;
  QLabel* lblAddress;
  QLabel* lblWeb;            // blue; a click opens the link
  QLabel* Image4;            // the legend picture: its first page holds the ten classes
  QScrollBar* legendScroll;  // over Image4's right edge while the legend has further pages
  QLineEdit* txtObjName;
  // Set by opening either drawer, cleared by closing either: while set, the card follows the
  // selection.
  bool CardOpen = false;

  // Map1's SelectionModified (also run when a drawer opens).
  void SelectionModified();
  // A click on the tab of drawer i: opens it (CardOpen set, card refreshed) or closes it.
  void imgInfo_Click(int index);
  // A click on the web link (a left-button release over it): opens a web address through the
  // desktop, silently.
  void lblWeb_Click();
  // The mouse moved over the web link: a hand over a link, the arrow over an empty one.
  void lblWeb_MouseMove();
  // Draws the legend picture again from Map1's layer styles and switches (after a workspace load
  // or a layer switched on or off).
  void RefreshLegend();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateCard(QWidget* picInfo0);
  void CreateLegend(QWidget* picInfo1);
  void FillCard(const Feature& feature);
  void ShowLegendFrom(int top);  // Image4 shows the legend from top pixels down

  QImage legend_;  // every page of the legend

  MapControl& Map1_;
  CityDatabase& database_;
  int shift_ = 0;  // twips the drawers stand right of their start-size places
  QCursor hand_;
};
