#pragma once
// What a folder holds, for proving that nothing in it changed.
#include <QByteArray>
#include <QMap>
#include <QString>

// Every entry under root by its path relative to root: a regular file by its SHA-256, a symbolic
// link by its target, any other kind (folder, FIFO, device) by its kind. Nothing but regular
// files is opened, so a FIFO or a link to a device cannot block or flood the reading.
QMap<QString, QByteArray> Fingerprint(const QString& root);
