#include "tool/source_pair.h"

#include <filesystem>
#include <iostream>
#include <system_error>
#include <vector>

#include "tool/commands.h"

namespace scenario::tool {
namespace {

// Something already stands at the path: a file, a directory, even a dangling
// link.
bool taken(const std::filesystem::path& path) {
  std::error_code ignored;
  return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

std::vector<std::filesystem::path> sources_in_the_way(const RunFiles& files) {
  std::vector<std::filesystem::path> in_the_way;
  for (const auto& path : {files.line_source, files.train_source}) {
    if (taken(path)) in_the_way.push_back(path);
  }
  return in_the_way;
}

}  // namespace

int write_source_pair(std::string_view command, const RunFiles& files, bool force, LineTable line, LineTable train) {
  if (!force) {
    const std::vector<std::filesystem::path> in_the_way = sources_in_the_way(files);
    for (const auto& path : in_the_way) {
      std::cerr << "scenario " << command << ": " << path.string() << " already exists; --force overwrites it\n";
    }
    if (!in_the_way.empty()) return kScenarioError;
  }
  try {
    const std::filesystem::path dir = files.line_source.parent_path();
    if (!dir.empty()) std::filesystem::create_directories(dir);
    write_table(files.line_source, line);
    write_table(files.train_source, train);
  } catch (const std::system_error& e) {
    std::cerr << "scenario " << command << ": " << e.what() << "\n";
    return kScenarioError;
  }
  return kSuccess;
}

}  // namespace scenario::tool
