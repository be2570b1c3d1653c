#pragma once
// Qt's PDF writer tells readers which character each glyph of an embedded font shows (the
// font's ToUnicode map) by the lowest code point the font maps to it. Noto Sans CJK draws many
// ideographs with the glyph of the Kangxi radical of the same shape, so 米 comes out of a PDF as
// ⽶ (U+2F76), 大 as ⼤: copied text and searches miss them. This puts the ideograph back.
#include <QByteArray>

namespace mappage {

// Rewrites, in the ToUnicode maps of pdf, each single glyph mapped to a Kangxi radical
// (U+2F00 to U+2FD5) so that it maps to the ideograph the radical stands for. The rewrite keeps
// every byte offset (four hex digits for four), so the PDF's cross-reference table stays true.
// Returns how many glyphs it rewrote.
int FoldRadicalsInTextMaps(QByteArray& pdf);

}  // namespace mappage
