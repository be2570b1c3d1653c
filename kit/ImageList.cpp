#include "kit/ImageList.h"

#include <algorithm>

namespace qiwu {

void ImageList::Add(const QString& key, const QPixmap& picture) { items_.push_back({key, picture}); }

QPixmap ImageList::Picture(int index) const {
  if (index < 1 || index > Count()) return {};
  return items_[index - 1].picture;
}

QPixmap ImageList::Picture(const QString& key) const {
  const auto it = std::find_if(items_.begin(), items_.end(), [&](const Item& i) { return i.key == key; });
  return it == items_.end() ? QPixmap() : it->picture;
}

QString ImageList::Key(int index) const {
  if (index < 1 || index > Count()) return {};
  return items_[index - 1].key;
}

}  // namespace qiwu
