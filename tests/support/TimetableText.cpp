#include "tests/support/TimetableText.h"

#include <algorithm>
#include <sstream>

namespace testtimetable {

std::vector<std::string> TimetableText(const citygen::Timetable& timetable, citygen::Vec2 offset) {
  std::vector<std::string> lines{"zone " + timetable.timeZone};
  for (const citygen::Platform& platform : timetable.platforms) {
    std::ostringstream line;
    line.precision(17);
    line << "platform " << platform.id << " " << platform.name;
    if (platform.placed) line << " " << platform.at.x + offset.x << " " << platform.at.y + offset.y;
    lines.push_back(line.str());
  }
  std::vector<std::string> sorted;
  for (const citygen::Trip& trip : timetable.trips) {
    std::ostringstream line;
    line << "trip " << trip.id << " " << trip.line << " " << trip.service << " [" << trip.headsign << "]";
    for (const citygen::Call& call : trip.calls) {
      line << " " << call.platform << "@" << call.arrival << "-" << call.departure << "/" << int(call.pickup)
           << int(call.dropOff);
    }
    sorted.push_back(line.str());
  }
  for (const citygen::Service& service : timetable.services) {
    std::ostringstream line;
    line << "service " << service.id;
    if (service.hasCalendar) {
      line << " ";
      for (bool runs : service.weekdays) line << runs;
      line << " " << service.startDate << "-" << service.endDate;
    }
    for (const auto& [date, type] : service.exceptions) line << " " << date << ":" << type;
    sorted.push_back(line.str());
  }
  std::sort(sorted.begin(), sorted.end());
  lines.insert(lines.end(), sorted.begin(), sorted.end());
  for (const citygen::Frequency& frequency : timetable.frequencies) {
    lines.push_back("frequency " + frequency.trip + " " + std::to_string(frequency.start) + "-" +
                    std::to_string(frequency.end) + " every " + std::to_string(frequency.headway) +
                    (frequency.exactTimes ? " exact" : ""));
  }
  return lines;
}

}  // namespace testtimetable
