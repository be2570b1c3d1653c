#pragma once
// The left column's accordion: five tabs imgType(0..4), each above its panel picShow(0..4).
// Exactly one panel is open (visible); the tabs below it move down to make room. Positions
// are twips in the window's client area.
#include <array>

class QWidget;

namespace qiwu {

class Accordion {
 public:
  static constexpr int kPanels = 5;
  static constexpr int kBusPanel = 4;
  static constexpr int kSpacing = 45;  // between a tab and whatever lies below it

  Accordion(std::array<QWidget*, kPanels> tabs, std::array<QWidget*, kPanels> panels);

  // Start-up placement: tab 0 at left 240, top 840; every panel at left 360; panel k (k >= 1)
  // at tab 0's top + (k + 1) * (tab 0's height + 45). Panel 0 keeps its designed top.
  void PlacePanels();

  // A click on tab p: opens a closed panel p, or the bus panel when p is already open.
  void Click(int p);

  // The open panel (the visible one), or -1 when none is.
  int OpenPanel() const;

 private:
  void CloseUpTabs(int last);                  // tabs 1..last directly under tab 0
  void ChainTabsBelow(int first, int bottom);  // tabs first..4 one after another below bottom
  void ShowOnly(int p);

  std::array<QWidget*, kPanels> tabs_;
  std::array<QWidget*, kPanels> panels_;
};

}  // namespace qiwu
