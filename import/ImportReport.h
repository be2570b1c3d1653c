#pragma once
// What one source held and what became of it, by kind of object: a table of the import report
// (data/NAME.import.txt). Every object read is counted once, as kept (and as what) or left out
// (and why), so nothing is dropped without a trace.
#include <map>
#include <string>
#include <vector>

namespace qiwu::import {

class SourceReport {
 public:
  explicit SourceReport(std::string source = {}) : source_(std::move(source)) {}

  // One more object of `kind` ("amenity=school", "route_type 0", "trips") was kept, as `as`
  // ("中小学校"), or left out, for `why` ("unnamed").
  void Kept(const std::string& kind, const std::string& as, long count = 1);
  void LeftOut(const std::string& kind, const std::string& why, long count = 1);

  const std::string& Source() const { return source_; }
  long Read(const std::string& kind) const;
  long KeptCount(const std::string& kind) const;
  long LeftOutCount(const std::string& kind, const std::string& why) const;
  // The table: one row a kind, most read first, with what the kept became and why the others
  // were left out.
  std::string Text() const;

 private:
  struct Row {
    std::map<std::string, long> keptAs, leftOutFor;
  };
  std::string source_;
  std::map<std::string, Row> rows_;
};

// The whole report: a title line and each source's table.
std::string ReportText(const std::string& city, const std::vector<SourceReport>& sources);

}  // namespace qiwu::import
