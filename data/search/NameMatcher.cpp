#include "data/search/NameMatcher.h"

#include <QList>
#include <algorithm>
#include <bit>
#include <numeric>
#include <string>

#include "data/search/PinyinTable.h"

namespace search {

namespace {
std::u32string Folded(const QString& text) {
  const QList<uint> ucs4 = text.toCaseFolded().toUcs4();
  return std::u32string(ucs4.begin(), ucs4.end());
}
}  // namespace

void Alphabet::Spell(const QString& name, std::vector<Symbol>& symbols) {
  for (qsizetype i = 0; i < name.size(); ++i) {
    char32_t c = name[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < name.size() && name[i + 1].isLowSurrogate())
      c = QChar::surrogateToUcs4(char16_t(c), name[++i].unicode());
    Symbol& id = SymbolOf(c);
    if (id == kNone) {
      const char32_t folded = QChar::toCaseFolded(c);
      Symbol& foldedId = SymbolOf(folded);
      if (foldedId == kNone) {
        foldedId = Symbol(letters_.size());
        letters_.push_back({folded, !QChar::isLetterOrNumber(folded), pinyin::Readings(folded)});
      }
      id = foldedId;
    }
    symbols.push_back(id);
  }
}

// The symbol a character as written stands for (kNone until it is first seen).
Symbol& Alphabet::SymbolOf(char32_t c) {
  return c < bmp_.size() ? bmp_[c] : others_.try_emplace(c, kNone).first->second;
}

std::vector<std::uint32_t> Alphabet::PinyinRanks() const {
  std::vector<std::string> keys(letters_.size());
  for (std::size_t i = 0; i < letters_.size(); ++i) {
    const Letter& l = letters_[i];
    keys[i] = l.readings.empty() ? QString::fromUcs4(&l.c, 1).toStdString() : std::string(l.readings.front());
  }
  std::vector<Symbol> order(letters_.size());
  std::iota(order.begin(), order.end(), Symbol(0));
  std::sort(order.begin(), order.end(), [&](Symbol a, Symbol b) {
    return keys[a] != keys[b] ? keys[a] < keys[b] : letters_[a].c < letters_[b].c;
  });
  std::vector<std::uint32_t> rank(letters_.size());
  for (std::size_t i = 0; i < order.size(); ++i) rank[order[i]] = std::uint32_t(i);
  return rank;
}

Query::Query(const QString& text, const Alphabet& alphabet) {
  std::u32string q;
  for (const char32_t c : Folded(text)) {
    if (QChar::isSpace(c) || c == U'\'') continue;
    q.push_back(c == U'ü' ? U'v' : c);
  }
  if (q.size() > std::size_t(kMaxLength)) return;
  length_ = int(q.size());
  if (Empty()) return;

  // Row 0 stays all zeros; every symbol that can meet some position of the text gets a row.
  const std::size_t stride = q.size() + 1;
  steps_.assign(stride, 0);
  rowOf_.assign(alphabet.letters_.size(), 0);
  std::vector<std::uint64_t> row(stride);
  for (std::size_t s = 0; s < alphabet.letters_.size(); ++s) {
    const Alphabet::Letter& letter = alphabet.letters_[s];
    bool any = false;
    for (std::size_t j = 0; j < stride; ++j) {
      std::uint64_t reach = letter.passable ? std::uint64_t(1) << j : 0;
      if (j < q.size() && q[j] == letter.c) reach |= std::uint64_t(2) << j;
      for (const std::string_view reading : letter.readings)
        for (std::size_t k = 0; k < reading.size() && j + k < q.size() && q[j + k] == char32_t(reading[k]);
             ++k)
          reach |= std::uint64_t(2) << (j + k);
      row[j] = reach;
      any = any || reach;
    }
    if (!any) continue;
    rowOf_[s] = std::uint32_t(steps_.size() / stride);
    steps_.insert(steps_.end(), row.begin(), row.end());
  }
}

std::uint64_t Query::Step(std::uint64_t positions, Symbol s) const {
  const std::uint32_t row = rowOf_[s];
  if (row == 0) return 0;
  const std::uint64_t* reach = steps_.data() + std::size_t(row) * std::size_t(length_ + 1);
  std::uint64_t out = 0;
  for (; positions; positions &= positions - 1) out |= reach[std::countr_zero(positions)];
  return out;
}

Fit Query::Match(std::span<const Symbol> name) const {
  if (Empty()) return Fit::None;
  const std::uint64_t end = std::uint64_t(1) << length_;
  std::uint64_t anchored = 1, anywhere = 0;  // the text begun at the name's start, or anywhere
  bool prefix = false, contains = false;
  for (const Symbol s : name) {
    anchored = Step(anchored, s);
    anywhere = Step(anywhere | 1, s);
    prefix = prefix || (anchored & end);
    contains = contains || (anywhere & end);
    if (!anchored && (contains || prefix)) break;
  }
  if (anchored & end) return Fit::Exact;
  if (prefix) return Fit::Prefix;
  return contains ? Fit::Contains : Fit::None;
}

}  // namespace search
