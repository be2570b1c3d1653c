#include "import/gtfs/CsvReader.h"

#include <cpl_vsi.h>

#include <algorithm>
#include <cstring>

#include "import/InputError.h"
#include "import/gtfs/FieldText.h"

namespace qiwu::import {
namespace {

constexpr std::size_t kBufferSize = 1 << 20;
// No GTFS record comes near this; past it the file is broken (an unclosed quote) or hostile.
constexpr std::size_t kLongestRecord = 1 << 20;
// GTFS files have a few dozen columns; a record of commas would cost memory per field.
constexpr std::size_t kMostFields = 1000;

VSILFILE* Handle(void* file) { return static_cast<VSILFILE*>(file); }

}  // namespace

CsvReader::CsvReader(const std::string& path, std::string name, std::uint64_t mostBytes)
    : name_(std::move(name)), buffer_(kBufferSize), mostBytes_(mostBytes) {
  file_ = VSIFOpenL(path.c_str(), "rb");
  if (!file_) throw InputError(name_, 0, "cannot open the file");
  if (Fill() && size_ >= 3 && std::memcmp(buffer_.data(), "\xEF\xBB\xBF", 3) == 0) pos_ = 3;
  if (Next())
    for (int i = 0; i < int(ends_.size()); ++i) header_.emplace_back(Trimmed((*this)[i]));
}

CsvReader::~CsvReader() {
  if (file_) VSIFCloseL(Handle(file_));
}

int CsvReader::Column(std::string_view header) const {
  const auto found = std::find(header_.begin(), header_.end(), header);
  return found == header_.end() ? -1 : int(found - header_.begin());
}

int CsvReader::RequiredColumn(std::string_view header) const {
  const int column = Column(header);
  if (column < 0) throw InputError(name_, 0, "no column " + std::string(header));
  return column;
}

void CsvReader::Fail(const std::string& message) const { throw InputError(name_, recordLine_, message); }

bool CsvReader::Fill() {
  if (pos_ < size_) return true;
  if (eof_) return false;
  size_ = VSIFReadL(buffer_.data(), 1, buffer_.size(), Handle(file_));
  pos_ = 0;
  read_ += size_;
  if (read_ > mostBytes_) {
    recordLine_ = line_;
    Fail("the file holds more than its zip entry declares");
  }
  if (size_ < buffer_.size()) eof_ = true;
  return size_ > 0;
}

bool CsvReader::Next() {
  while (ReadRecord()) {
    // A blank line is no record.
    if (ends_.size() > 1 || !record_.empty()) return true;
  }
  return false;
}

bool CsvReader::ReadRecord() {
  record_.clear();
  ends_.clear();
  if (!Fill()) return false;
  recordLine_ = line_;
  for (;;) {
    if (Fill() && buffer_[pos_] == '"') {
      ++pos_;
      ReadQuoted();
    } else {
      ReadPlain();
    }
    if (record_.size() > kLongestRecord) Fail("a record longer than 1 MiB (a quote left open?)");
    if (ends_.size() == kMostFields) Fail("a record of more than 1000 fields");
    ends_.push_back(std::uint32_t(record_.size()));
    if (!Fill()) return true;
    const char end = buffer_[pos_++];
    if (end == ',') continue;
    ++line_;
    if (end == '\r' && Fill() && buffer_[pos_] == '\n') ++pos_;
    return true;
  }
}

// Up to the next separator or line end, which stays unread.
void CsvReader::ReadPlain() {
  while (Fill()) {
    const char* begin = buffer_.data() + pos_;
    const char* end = buffer_.data() + size_;
    const char* stop = begin;
    while (stop < end && *stop != ',' && *stop != '\n' && *stop != '\r') ++stop;
    record_.append(begin, stop);
    pos_ += std::size_t(stop - begin);
    if (stop < end || record_.size() > kLongestRecord) return;
  }
}

// After the opening quote, up to and past the closing one.
void CsvReader::ReadQuoted() {
  for (;;) {
    if (!Fill()) Fail("a quoted field is not closed");
    const char* begin = buffer_.data() + pos_;
    const char* end = buffer_.data() + size_;
    const char* quote = static_cast<const char*>(std::memchr(begin, '"', std::size_t(end - begin)));
    const char* stop = quote ? quote : end;
    line_ += std::count(begin, stop, '\n');
    record_.append(begin, stop);
    pos_ += std::size_t(stop - begin);
    if (record_.size() > kLongestRecord) return;
    if (!quote) continue;
    ++pos_;
    if (Fill() && buffer_[pos_] == '"') {
      record_.push_back('"');
      ++pos_;
      continue;
    }
    if (Fill() && buffer_[pos_] != ',' && buffer_[pos_] != '\n' && buffer_[pos_] != '\r')
      Fail("a quoted field goes on after its closing quote");
    return;
  }
}

}  // namespace qiwu::import
