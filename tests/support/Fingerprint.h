#pragma once
// What a folder holds, for proving that nothing in it changed.
#include <QByteArray>
#include <QMap>
#include <QString>

// Every file (relative path -> SHA-256 of its bytes) and every folder (relative path + "/" ->
// empty) under root.
QMap<QString, QByteArray> Fingerprint(const QString& root);
