#include "dataset/TimetablePacking.h"

namespace citygen {
namespace {

// Reads varints off the front of the bytes; a varint longer than five bytes or past 32 bits is
// refused like one cut short.
class VarintReader {
 public:
  explicit VarintReader(std::string_view bytes) : bytes_(bytes) {}

  std::optional<std::uint32_t> Next() {
    std::uint64_t value = 0;
    for (int shift = 0; shift < 35; shift += 7) {
      if (at_ == bytes_.size()) return std::nullopt;
      const auto byte = static_cast<unsigned char>(bytes_[at_++]);
      value |= std::uint64_t(byte & 0x7f) << shift;
      if (!(byte & 0x80)) {
        if (value > UINT32_MAX) return std::nullopt;
        return std::uint32_t(value);
      }
    }
    return std::nullopt;
  }
  bool Done() const { return at_ == bytes_.size(); }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

}  // namespace

void AppendVarint(std::string& bytes, std::uint32_t value) {
  while (value >= 0x80) {
    bytes += char((value & 0x7f) | 0x80);
    value >>= 7;
  }
  bytes += char(value);
}

std::string PackPlatforms(const std::vector<Call>& calls) {
  std::string bytes;
  for (const Call& call : calls) AppendVarint(bytes, std::uint32_t(call.platform));
  return bytes;
}

std::string PackTimes(const std::vector<Call>& calls) {
  std::string bytes;
  ServiceSeconds previous = 0;
  for (const Call& call : calls) {
    AppendVarint(bytes, std::uint32_t(call.arrival - previous));
    AppendVarint(bytes, std::uint32_t(call.departure - call.arrival));
    previous = call.departure;
  }
  return bytes;
}

std::string PackRules(const std::vector<Call>& calls) {
  std::string bytes;
  bool any = false;
  for (const Call& call : calls) {
    bytes += char(call.pickup | call.dropOff << 2);
    any = any || call.pickup || call.dropOff;
  }
  return any ? bytes : std::string();
}

std::optional<std::vector<int>> UnpackPlatforms(std::string_view bytes, std::size_t platformCount) {
  std::vector<int> platforms;
  VarintReader reader(bytes);
  while (!reader.Done()) {
    const std::optional<std::uint32_t> platform = reader.Next();
    if (!platform || *platform >= platformCount) return std::nullopt;
    platforms.push_back(int(*platform));
  }
  return platforms;
}

bool UnpackTimes(std::string_view bytes, std::vector<Call>& calls) {
  VarintReader reader(bytes);
  std::uint64_t previous = 0;
  for (Call& call : calls) {
    const std::optional<std::uint32_t> sincePrevious = reader.Next();
    if (!sincePrevious) return false;
    const std::optional<std::uint32_t> dwell = reader.Next();
    if (!dwell) return false;
    const std::uint64_t arrival = previous + *sincePrevious;
    const std::uint64_t departure = arrival + *dwell;
    if (departure > std::uint64_t(kLastServiceSecond)) return false;
    call.arrival = ServiceSeconds(arrival);
    call.departure = ServiceSeconds(departure);
    previous = departure;
  }
  return reader.Done();
}

bool UnpackRules(std::string_view bytes, std::vector<Call>& calls) {
  if (bytes.size() != calls.size()) return false;
  for (std::size_t k = 0; k < calls.size(); ++k) {
    const auto rule = static_cast<unsigned char>(bytes[k]);
    if (rule > 15) return false;
    calls[k].pickup = rule & 3;
    calls[k].dropOff = rule >> 2;
  }
  return true;
}

}  // namespace citygen
