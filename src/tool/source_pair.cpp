#include "tool/source_pair.h"

#include <cerrno>
#include <filesystem>
#include <iostream>
#include <system_error>
#include <vector>

#include "io/file_error.h"
#include "tool/commands.h"
#include "tool/diagnostic.h"

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

// DIR and its parents, made when missing; a file in the way is named as one.
void make_directory(const std::filesystem::path& dir) {
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (!error) return;
  if (error == std::errc::not_a_directory || error == std::errc::file_exists) fail("cannot write into", dir, ENOTDIR);
  fail_to_make("cannot make the directory", dir, error.value());
}

}  // namespace

int write_source_pair(std::string_view command, const RunFiles& files, bool force, LineTable line, LineTable train) {
  if (!force) {
    const std::vector<std::filesystem::path> in_the_way = sources_in_the_way(files);
    for (const auto& path : in_the_way) {
      std::cerr << command_message(command, path.string() + " already exists; --force overwrites it");
    }
    if (!in_the_way.empty()) return kScenarioError;
  }
  try {
    const std::filesystem::path dir = files.line_source.parent_path();
    if (!dir.empty()) make_directory(dir);
    write_table(files.line_source, line);
    write_table(files.train_source, train);
  } catch (const std::system_error& e) {
    std::cerr << command_message(command, e.what());
    return kScenarioError;
  }
  return kSuccess;
}

}  // namespace scenario::tool
