#pragma once
// The main window's pictures, drawn by our code from our own SVG glyphs (resource :/art):
// the toolbar image list, the hand cursor and the panel tabs.
#include <QCursor>
#include <QPixmap>
#include <QString>

#include "kit/ImageList.h"

namespace qiwu {

// imgListTools: 19 images, keys "pointer1", "pointer2", … "winsel1", "winsel2", "Hand".
// Image 2i+1 is toolbar button i released, 2i+2 pressed; image 19 the hand cursor's picture.
// buttonPixels is the side of a button picture in device-independent pixels.
ImageList MakeToolImages(int buttonPixels);

// The custom cursor made of image 19 ("Hand"), its hot spot at the tip of the finger.
QCursor HandCursor(const ImageList& images);

// A panel tab's picture of the given size in pixels, its label drawn in it.
QPixmap MakeTabPicture(const QString& label, QSize pixels);

}  // namespace qiwu
