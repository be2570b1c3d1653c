#pragma once
// The order of bus line names in the bus table and its lists, so that 2路 comes before 10路.
// A name is read as runs, each a maximal sequence of ASCII digits or of other characters. Two digit
// runs compare by value, then by length (2 before 02); any other pair of runs by code point; a name
// whose runs end first comes first. Names equal so far compare by code point as a whole.
#include <string_view>

namespace qiwu::import {

// Negative, zero or positive as `a` comes before, with or after `b`.
int CompareNaturally(std::string_view a, std::string_view b);

struct NaturalLess {
  bool operator()(std::string_view a, std::string_view b) const { return CompareNaturally(a, b) < 0; }
};

}  // namespace qiwu::import
