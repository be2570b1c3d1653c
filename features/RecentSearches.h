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

  // Reads file (an INI file; absent or unreadable: no items).
  explicit RecentSearches(QString file);
  // recent-searches.ini in the program's folder of the user's configuration.
  static QString DefaultFile();

  const QList<Item>& Items() const { return items_; }
  // Puts the item first (once) and writes the file.
  void Add(const Item& item);

 private:
  QString file_;
  QList<Item> items_;
};
