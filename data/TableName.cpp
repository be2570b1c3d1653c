#include "data/TableName.h"

#include <algorithm>

namespace {
char16_t LowerLatin(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c; }
}  // namespace

bool IsPlainTableName(const QString& name) {
  if (name.isEmpty() || name.front().isDigit()) return false;
  return std::all_of(name.begin(), name.end(), [](QChar c) {
    return c.unicode() >= 0x80 || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
           (c >= u'0' && c <= u'9') || c == u'_';
  });
}

bool SameName(const QString& a, const QString& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](QChar x, QChar y) {
           return LowerLatin(x.unicode()) == LowerLatin(y.unicode());
         });
}
