#pragma once
// How a long import step tells what it is doing: one line of text at a time, for standard error.
#include <functional>
#include <string>

namespace qiwu::import {

using Progress = std::function<void(const std::string& line)>;

}  // namespace qiwu::import
