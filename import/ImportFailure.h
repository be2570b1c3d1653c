#pragma once
// An import that cannot go on for a reason other than bad input (a city that exists, an unusable
// CRS, a folder that cannot be written), with the exit code qiwu-import ends with.
#include <stdexcept>
#include <string>

namespace qiwu::import {

class ImportFailure : public std::runtime_error {
 public:
  ImportFailure(const std::string& message, int exitCode)
      : std::runtime_error(message), exitCode_(exitCode) {}
  int exitCode() const { return exitCode_; }

 private:
  int exitCode_;
};

}  // namespace qiwu::import
