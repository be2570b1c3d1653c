#include "data/TextCollation.h"

#include <sqlite3.h>
#include <unicode/coll.h>
#include <unicode/locid.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "data/LikePattern.h"

namespace {

const icu::Collator* PinyinCollator() {
  static const std::unique_ptr<icu::Collator> collator = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> c(
        icu::Collator::createInstance(icu::Locale("zh@collation=pinyin"), status));
    return U_SUCCESS(status) ? std::move(c) : nullptr;
  }();
  return collator.get();
}

bool HasUpperLatin(std::string_view s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// UTF-8 continuation and lead bytes are all >= 0x80, so folding A-Z byte by byte is safe.
std::string_view LowerLatin(std::string_view s, std::string& buffer) {
  if (!HasUpperLatin(s)) return s;
  buffer.assign(s);
  for (char& c : buffer) {
    if (c >= 'A' && c <= 'Z') c = char(c + ('a' - 'A'));
  }
  return buffer;
}

int CompareBytes(std::string_view a, std::string_view b) {
  const int c = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
  if (c != 0) return c;
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

int CollationCallback(void*, int lengthA, const void* a, int lengthB, const void* b) {
  return CompareText(std::string_view(static_cast<const char*>(a), std::size_t(lengthA)),
                     std::string_view(static_cast<const char*>(b), std::size_t(lengthB)));
}

}  // namespace

int CompareText(std::string_view a, std::string_view b) {
  thread_local std::string bufferA;
  thread_local std::string bufferB;
  const std::string_view foldedA = LowerLatin(a, bufferA);
  const std::string_view foldedB = LowerLatin(b, bufferB);
  if (foldedA == foldedB) return 0;
  if (const icu::Collator* collator = PinyinCollator()) {
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult order =
        collator->compareUTF8(icu::StringPiece(foldedA.data(), int32_t(foldedA.size())),
                              icu::StringPiece(foldedB.data(), int32_t(foldedB.size())), status);
    if (U_SUCCESS(status) && order != UCOL_EQUAL) return order == UCOL_LESS ? -1 : 1;
  }
  return CompareBytes(foldedA, foldedB);
}

int RegisterTextFunctions(sqlite3* db) {
  const int rc =
      sqlite3_create_collation_v2(db, kTextCollation, SQLITE_UTF8, nullptr, &CollationCallback, nullptr);
  return rc == SQLITE_OK ? RegisterLike(db) : rc;
}

QString FoldLatinCase(const QString& text) {
  QString folded = text;
  for (QChar& c : folded)
    if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + (u'a' - u'A'));
  return folded;
}
