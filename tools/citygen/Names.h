#pragma once
// Invented names built from parts: place-name stems, people, and the vocabulary of shops,
// banks, clinics, colleges and sights. A NameBook hands out each stem and each full name once.
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tools/citygen/Random.h"

namespace citygen {

// A word and a Latin spelling of it, for web addresses.
struct Word {
  std::string text;
  std::string latin;
};

class NameBook {
 public:
  explicit NameBook(Random random) : random_(random) {}

  // A two-character place-name stem that no one has had before ("福兴", "安澜").
  std::string Stem();
  // Takes `name` if it is still free; true when it was.
  bool Claim(const std::string& name) { return used_.insert(name).second; }
  // A person's name: a surname and one or two given characters.
  std::string Person();
  Random& random() { return random_; }

 private:
  Random random_;
  std::set<std::string> used_;
};

// Vocabulary lists shared by the point-of-interest namers.
const std::vector<Word>& DiningWords();             // "福满", "聚贤", ...
const std::vector<Word>& FoodKinds();               // "酒家", "火锅", "面馆", ...
const std::vector<Word>& VenueKinds();              // "茶楼", "咖啡", "KTV", ...
const std::vector<Word>& Surnames();                // "王", "李", ...
const std::vector<std::string>& ChineseNumerals();  // "一" ... "十"

// The city name without its trailing 市 ("栖坞市" -> "栖坞").
std::string CityStem(const std::string& cityName);

// Splits UTF-8 text into its characters.
std::vector<std::string> Characters(const std::string& text);

}  // namespace citygen
