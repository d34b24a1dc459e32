#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace scenario {

// A failed file operation: what was tried on which path, and the system's
// reason (errno).
[[noreturn]] inline void fail(const std::string& what, const std::filesystem::path& path, int error) {
  throw std::system_error(error, std::generic_category(), what + " " + path.string());
}

}  // namespace scenario
