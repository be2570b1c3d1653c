#pragma once
// Bad input found while importing: the file and, where it has lines, the line that is wrong.
#include <stdexcept>
#include <string>

namespace qiwu::import {

class InputError : public std::runtime_error {
 public:
  // `line` counts from 1; 0 when the fault is not on one line (a missing file or column).
  InputError(std::string file, long line, const std::string& message)
      : std::runtime_error(Describe(file, line, message)), file_(std::move(file)), line_(line) {}

  const std::string& file() const { return file_; }
  long line() const { return line_; }

 private:
  static std::string Describe(const std::string& file, long line, const std::string& message) {
    return line > 0 ? file + ":" + std::to_string(line) + ": " + message : file + ": " + message;
  }
  std::string file_;
  long line_;
};

}  // namespace qiwu::import
