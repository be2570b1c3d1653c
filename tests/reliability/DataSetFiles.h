#pragma once
// A program directory made read-only and writable again.
#include <QString>

namespace reliab {

// Takes the write permission off every file and folder under root (and root), or gives it back.
void SetWritable(const QString& root, bool writable);

}  // namespace reliab
