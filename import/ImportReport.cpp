#include "import/ImportReport.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace qiwu::import {
namespace {

long Sum(const std::map<std::string, long>& counts) {
  return std::accumulate(counts.begin(), counts.end(), 0L,
                         [](long n, const auto& c) { return n + c.second; });
}

// "中小学校 1, 其他地点 2"
std::string Listed(const std::map<std::string, long>& counts) {
  std::string text;
  for (const auto& [what, n] : counts) text += (text.empty() ? "" : ", ") + what + " " + std::to_string(n);
  return text;
}

// Columns are padded by characters, not bytes, so that Chinese kinds line up in a UTF-8 editor
// as well as they can.
std::string Padded(const std::string& text, std::size_t width) {
  const std::size_t characters = std::count_if(
      text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
  return text + std::string(characters < width ? width - characters : 1, ' ');
}

std::string Number(long n, int width) {
  char text[32];
  std::snprintf(text, sizeof text, "%*ld", width, n);
  return text;
}

}  // namespace

void SourceReport::Kept(const std::string& kind, const std::string& as, long count) {
  rows_[kind].keptAs[as] += count;
}

void SourceReport::LeftOut(const std::string& kind, const std::string& why, long count) {
  rows_[kind].leftOutFor[why] += count;
}

long SourceReport::Read(const std::string& kind) const { return KeptCount(kind) + LeftOutCount(kind, {}); }

long SourceReport::KeptCount(const std::string& kind) const {
  const auto row = rows_.find(kind);
  return row == rows_.end() ? 0 : Sum(row->second.keptAs);
}

// With an empty `why`, every object of the kind left out.
long SourceReport::LeftOutCount(const std::string& kind, const std::string& why) const {
  const auto row = rows_.find(kind);
  if (row == rows_.end()) return 0;
  if (why.empty()) return Sum(row->second.leftOutFor);
  const auto reason = row->second.leftOutFor.find(why);
  return reason == row->second.leftOutFor.end() ? 0 : reason->second;
}

std::string SourceReport::Text() const {
  std::vector<const std::pair<const std::string, Row>*> rows;
  for (const auto& row : rows_) rows.push_back(&row);
  std::stable_sort(rows.begin(), rows.end(),
                   [this](const auto* a, const auto* b) { return Read(a->first) > Read(b->first); });
  std::size_t width = 4;
  for (const auto* row : rows) width = std::max(width, row->first.size());
  std::string text = source_ + "\n  " + Padded("what", width + 2) + "    read    kept  left out\n";
  for (const auto* row : rows) {
    const long kept = Sum(row->second.keptAs), left = Sum(row->second.leftOutFor);
    text +=
        "  " + Padded(row->first, width + 2) + Number(kept + left, 8) + Number(kept, 8) + Number(left, 10);
    if (kept) text += "   kept as " + Listed(row->second.keptAs);
    if (left) text += std::string(kept ? ";" : "  ") + " left out: " + Listed(row->second.leftOutFor);
    text += "\n";
  }
  return text;
}

std::string ReportText(const std::string& city, const std::vector<SourceReport>& sources) {
  std::string text = "What qiwu-import read for " + city + ", what it kept and what it left out.\n";
  for (const SourceReport& source : sources) text += "\n" + source.Text();
  return text;
}

}  // namespace qiwu::import
