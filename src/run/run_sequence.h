#pragma once

#include <filesystem>

namespace scenario {

// The package's whole run in dir, under the directory's run lock: the two
// sources, the three driver documents (notes sheet, slowdown form, timetable
// card, in that order), then the compilation, which reads and deletes the
// sources and writes the binary files. A fatal number travels up as FatalError; a failed file operation as
// std::system_error.
void run_package(const std::filesystem::path& dir);

}  // namespace scenario
