#pragma once
// The files and folders of a program directory, for proving that nothing was written there.
#include <QByteArray>
#include <QMap>
#include <QString>

namespace reliab {

// Every file (relative path -> SHA-256 of its bytes) and every folder (relative path + "/" ->
// empty) under root.
QMap<QString, QByteArray> Fingerprint(const QString& root);

// Takes the write permission off every file and folder under root (and root), or gives it back.
void SetWritable(const QString& root, bool writable);

}  // namespace reliab
