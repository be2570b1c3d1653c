#pragma once
// An image list: pictures numbered from 1 in the order they were added, each under a key.
// Pictures are implicitly shared, so a picture handed out compares equal (cacheKey) to the
// one in the list: a control showing image n can be checked against image n.
#include <QPixmap>
#include <QString>
#include <vector>

namespace qiwu {

class ImageList {
 public:
  void Add(const QString& key, const QPixmap& picture);

  int Count() const { return static_cast<int>(items_.size()); }
  // Image n, counting from 1; a null pixmap when n is out of range.
  QPixmap Picture(int index) const;
  // The image under key; a null pixmap when no image has that key.
  QPixmap Picture(const QString& key) const;
  QString Key(int index) const;

 private:
  struct Item {
    QString key;
    QPixmap picture;
  };
  std::vector<Item> items_;
};

}  // namespace qiwu
