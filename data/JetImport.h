#pragma once
// Reading a Jet (Access .mdb) file through the qiwu-jet-reader helper process, so that a
// damaged file that makes libmdb loop or fault ends only the helper, never the program.
#include <QByteArray>
#include <QString>

// Reads the Jet file at path (any file name, Chinese and blanks included) with the helper that
// lies beside the running executable, waiting at most timeLimitMs milliseconds (30 s, the time
// the program always gave a connection). Returns the database as an SQLite image (see
// sqlite3_deserialize); on failure an empty array and a reason in Chinese.
QByteArray ReadJetFile(const QString& path, QString& failure, int timeLimitMs = 30000);
