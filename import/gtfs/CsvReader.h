#pragma once
// A streaming reader of one comma-separated file (RFC 4180) through GDAL's virtual file system, so a
// file in a folder and a file inside a .zip (/vsizip/) read alike. Every field is text. Quoted
// fields may hold commas, doubled quotes and line ends; a UTF-8 byte-order mark, CR LF or LF line
// ends and blank lines are accepted. Only the current record is held in memory: at most 1 MiB of
// text in at most 1,000 fields.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qiwu::import {

class CsvReader {
 public:
  // Opens `path` (a GDAL virtual file system path) and reads its header; `name` is how errors
  // name the file. A file that holds more than `mostBytes` (what its zip entry declares) is
  // refused once that is read. Throws InputError when it cannot be opened.
  CsvReader(const std::string& path, std::string name, std::uint64_t mostBytes = UINT64_MAX);
  ~CsvReader();
  CsvReader(const CsvReader&) = delete;
  CsvReader& operator=(const CsvReader&) = delete;

  // The header's column of that name (blanks around header names ignored), or -1.
  int Column(std::string_view header) const;
  // As Column, throwing InputError when the file has no such column.
  int RequiredColumn(std::string_view header) const;

  // Moves to the next record; false at the end of the file.
  bool Next();
  // The current record's field in `column`; empty for -1 or a column the record lacks.
  std::string_view operator[](int column) const {
    if (column < 0 || std::size_t(column) >= ends_.size()) return {};
    const std::uint32_t begin = column == 0 ? 0 : ends_[column - 1];
    return std::string_view(record_).substr(begin, ends_[column] - begin);
  }
  // The line (from 1) on which the current record starts.
  long Line() const { return recordLine_; }
  const std::string& Name() const { return name_; }
  // Throws InputError naming the file and the current record's line.
  [[noreturn]] void Fail(const std::string& message) const;

 private:
  bool Fill();
  bool ReadRecord();
  void ReadQuoted();
  void ReadPlain();

  std::string name_;
  void* file_ = nullptr;  // VSILFILE*
  std::vector<char> buffer_;
  std::size_t pos_ = 0, size_ = 0;
  bool eof_ = false;
  std::uint64_t read_ = 0, mostBytes_;
  long line_ = 1, recordLine_ = 0;
  std::string record_;               // the current record's fields, unquoted, back to back
  std::vector<std::uint32_t> ends_;  // where each field of record_ ends
  std::vector<std::string> header_;
};

}  // namespace qiwu::import
