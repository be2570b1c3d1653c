#include "import/NaturalOrder.h"

#include <cstddef>

namespace qiwu::import {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The run that starts at `from`: digits, or everything up to the next digit. UTF-8 never puts an
// ASCII byte inside a multi-byte character, so a run never splits one.
std::string_view RunAt(std::string_view name, std::size_t from) {
  const bool digits = IsDigit(name[from]);
  std::size_t end = from;
  while (end < name.size() && IsDigit(name[end]) == digits) ++end;
  return name.substr(from, end - from);
}

int Sign(int v) { return (v > 0) - (v < 0); }

// Byte order of UTF-8 is code point order.
int CompareBytes(std::string_view a, std::string_view b) { return Sign(a.compare(b)); }

int CompareNumbers(std::string_view a, std::string_view b) {
  const std::string_view va = a.substr(std::min(a.find_first_not_of('0'), a.size()));
  const std::string_view vb = b.substr(std::min(b.find_first_not_of('0'), b.size()));
  if (va.size() != vb.size()) return va.size() < vb.size() ? -1 : 1;
  if (const int byValue = CompareBytes(va, vb)) return byValue;
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return 0;
}

}  // namespace

int CompareNaturally(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const std::string_view ra = RunAt(a, i), rb = RunAt(b, j);
    const bool numbers = IsDigit(ra.front()) && IsDigit(rb.front());
    if (const int order = numbers ? CompareNumbers(ra, rb) : CompareBytes(ra, rb)) return order;
    i += ra.size();
    j += rb.size();
  }
  if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
  return CompareBytes(a, b);
}

}  // namespace qiwu::import
