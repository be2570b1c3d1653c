// The accordion's tab events: switching panels, then the common reset of the map tool, the
// toolbar pictures and the position marker; the bus tab's cursor.
#include "app/Artwork.h"
#include "app/frmMain.h"
#include "features/KeywordPanel.h"
#include "kit/ImageControl.h"
#include "kit/LineControl.h"
#include "kit/Twips.h"
#include "mapwidgets/MapControl.h"

using namespace qiwu;

void frmMain::imgType_Click(int index) {
  accordion_->Click(index);
  ResetAfterTabClick();
}

void frmMain::ResetAfterTabClick() {
  Line1->SetY2(Line1Bottom());
  if (!picShow[1]->isHidden()) keyword->FocusKeyword();
  Layer* marker = lyrTempPoint;
  if (marker && marker->ListFeatures().Count() != 0)
    marker->RemoveFeature(marker->KeyOfNamedFeature(QString()));
  Map1->ActivateTool(kToolPointer);
  ReleaseToolButtons();
}

void frmMain::imgType_MouseMove(int) {
  if (!picShow[Accordion::kBusPanel]->isHidden())
    imgType[Accordion::kBusPanel]->setCursor(Qt::ArrowCursor);
  else
    imgType[Accordion::kBusPanel]->setCursor(HandCursor(imgListTools));
}
