#include "app/Accordion.h"

#include <QWidget>

#include "kit/Twips.h"

namespace qiwu {

Accordion::Accordion(std::array<QWidget*, kPanels> tabs, std::array<QWidget*, kPanels> panels)
    : tabs_(tabs), panels_(panels) {}

void Accordion::PlacePanels() {
  SetTwipsTop(tabs_[0], 840);
  SetTwipsLeft(tabs_[0], 240);
  const int top0 = TwipsTop(tabs_[0]), step = TwipsHeight(tabs_[0]) + kSpacing;
  for (int k = 0; k < kPanels; ++k) {
    SetTwipsLeft(panels_[k], 360);
    if (k > 0) SetTwipsTop(panels_[k], top0 + (k + 1) * step);
  }
}

void Accordion::Click(int p) {
  if (p < 0 || p >= kPanels) return;
  const bool wasOpen = !panels_[p]->isHidden();
  if (p == kBusPanel && wasOpen) return;
  if (wasOpen || p == kBusPanel) {
    ShowOnly(kBusPanel);
    CloseUpTabs(kPanels - 1);
    return;
  }
  ShowOnly(p);
  CloseUpTabs(p);
  ChainTabsBelow(p + 1, TwipsTop(panels_[p]) + TwipsHeight(panels_[p]));
}

int Accordion::OpenPanel() const {
  for (int p = 0; p < kPanels; ++p)
    if (!panels_[p]->isHidden()) return p;
  return -1;
}

void Accordion::CloseUpTabs(int last) {
  const int top0 = TwipsTop(tabs_[0]), step = TwipsHeight(tabs_[0]) + kSpacing;
  for (int j = 1; j <= last; ++j) SetTwipsTop(tabs_[j], top0 + j * step);
}

void Accordion::ChainTabsBelow(int first, int bottom) {
  int top = bottom + kSpacing;
  for (int j = first; j < kPanels; ++j) {
    SetTwipsTop(tabs_[j], top);
    top += TwipsHeight(tabs_[j]) + kSpacing;
  }
}

// isHidden rather than isVisible: the open panel is the one shown, even while the window
// itself has not been shown yet (start-up, offscreen tests).
void Accordion::ShowOnly(int p) {
  for (int k = 0; k < kPanels; ++k) panels_[k]->setVisible(k == p);
}

}  // namespace qiwu
