#pragma once
// What the main window shares with its panels: the two maps, the two temporary layers and
// the flags of the point-pick tool and the card drawer. frmMain owns it; panels keep a
// reference. The layers belong to the maps and are replaced at every city switch.
class MapControl;
class Layer;
class QWidget;

struct MainContext {
  QWidget* window = nullptr;  // frmMain, owner of message boxes and of the plan window
  MapControl* Map1 = nullptr;
  MapControl* Map2 = nullptr;
  Layer* lyrTempPoint = nullptr;
  Layer* lyrRect = nullptr;
  bool PickForRadius = false;
  bool CardOpen = false;
};
