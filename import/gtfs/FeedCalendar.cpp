#include "import/gtfs/FeedCalendar.h"

#include <algorithm>
#include <array>

#include "import/gtfs/FieldText.h"
#include "import/gtfs/RowFields.h"

namespace qiwu::import {
namespace {

constexpr std::size_t kLongestZone = 64;

bool ZoneName(std::string_view zone) {
  return zone.size() <= kLongestZone && std::all_of(zone.begin(), zone.end(), [](char c) {
           return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                  std::string_view("/_+-").find(c) != std::string_view::npos;
         });
}

std::vector<std::string> ReadTimeZones(const Feed& feed, const Progress& progress) {
  std::vector<std::string> zones;
  if (!feed.Has("agency.txt")) return zones;
  CsvReader csv = OpenCsv(feed, "agency.txt", progress);
  const int zone = csv.RequiredColumn("agency_timezone");
  while (csv.Next()) {
    const std::string_view name = Trimmed(csv[zone]);
    if (name.empty()) continue;
    if (!ZoneName(name)) csv.Fail("agency_timezone " + Quoted(name) + " is not a time zone name");
    zones.emplace_back(name);
  }
  return zones;
}

class Services {
 public:
  Services(const Feed& feed, std::string prefix, const Progress& progress)
      : feed_(feed), prefix_(std::move(prefix) + ":"), progress_(progress) {}

  std::vector<citygen::Service> Read() {
    if (feed_.Has("calendar.txt")) ReadCalendar();
    if (feed_.Has("calendar_dates.txt")) ReadExceptions();
    return std::move(services_);
  }

 private:
  void ReadCalendar() {
    CsvReader csv = OpenCsv(feed_, "calendar.txt", progress_);
    static const char* const kWeekdays[] = {"monday", "tuesday",  "wednesday", "thursday",
                                            "friday", "saturday", "sunday"};
    const int id = csv.RequiredColumn("service_id");
    std::array<int, 7> weekdays{};
    for (std::size_t d = 0; d < weekdays.size(); ++d) weekdays[d] = csv.RequiredColumn(kWeekdays[d]);
    const int start = csv.RequiredColumn("start_date"), end = csv.RequiredColumn("end_date");
    while (csv.Next()) {
      AddId(index_, csv[id], std::uint32_t(services_.size()), csv, "service_id");
      citygen::Service& service = services_.emplace_back();
      service.id = prefix_ + std::string(csv[id]);
      service.hasCalendar = true;
      for (std::size_t d = 0; d < weekdays.size(); ++d)
        service.weekdays[d] = Code(csv, weekdays[d], kWeekdays[d], 0, 1) == 1;
      service.startDate = Date(csv, start, "start_date");
      service.endDate = Date(csv, end, "end_date");
    }
  }

  void ReadExceptions() {
    CsvReader csv = OpenCsv(feed_, "calendar_dates.txt", progress_);
    const int id = csv.RequiredColumn("service_id"), date = csv.RequiredColumn("date");
    const int type = csv.RequiredColumn("exception_type");
    while (csv.Next()) {
      if (csv[id].empty()) csv.Fail("service_id is empty");
      auto [found, added] = index_.emplace(std::string(csv[id]), std::uint32_t(services_.size()));
      if (added) services_.push_back({prefix_ + std::string(csv[id]), false, {}, {}, {}, {}});
      services_[found->second].exceptions.emplace_back(Date(csv, date, "date"),
                                                       int(Code(csv, type, "exception_type", 1, 2)));
    }
  }

  const Feed& feed_;
  const std::string prefix_;
  const Progress& progress_;
  std::vector<citygen::Service> services_;
  ById<std::uint32_t> index_;
};

}  // namespace

FeedCalendar ReadFeedCalendar(const Feed& feed, const std::string& prefix, const Progress& progress) {
  return {ReadTimeZones(feed, progress), Services(feed, prefix, progress).Read()};
}

}  // namespace qiwu::import
