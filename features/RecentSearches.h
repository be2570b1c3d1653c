#pragma once
// The suggestions the user chose last, newest first, at most kKept, kept in a file of the user's
// configuration folder (never beside the data set). Only kinds and names are kept; the box shows
// those the open city still has.
#include <QList>
#include <QString>

class RecentSearches {
 public:
  static constexpr int kKept = 10;

  struct Item {
    QString kind;
    QString name;
  };

  // Reads file, an INI file. No items when it is absent or unreadable, or refused as the user's
  // files are (kit/DataSetFile.h: a FIFO, a device, over 1 MiB).
  explicit RecentSearches(QString file);
  // recent-searches.ini in the program's folder of the user's configuration.
  static QString DefaultFile();

  const QList<Item>& Items() const { return items_; }
  // Puts the item first (once) and writes the file, unless it is refused.
  void Add(const Item& item);

 private:
  // Whether QSettings may have the file: missing, or a small regular file (it would wait for ever
  // on a FIFO and read a device without end). A refusal is reported on standard error.
  bool Usable() const;

  QString file_;
  QList<Item> items_;
};
