#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "io/replace_file.h"
#include "model/run_files.h"
#include "sources/builtin_sources.h"
#include "support/temp_dir.h"

namespace scenario::testing {

// What the fault tests look at in a run directory: the files a run leaves
// (three driver documents, three binaries), as they were before a failed run
// and after it.

inline RunFiles builtin_files(const std::filesystem::path& dir) {
  return run_files(dir, kBuiltInScenario, kBuiltInTrain);
}

// The built-in line and train sources written into dir, as the package and
// `scenario export` write them.
inline RunFiles write_builtin_sources(const std::filesystem::path& dir) {
  RouteModel model;
  model.scenario_name = kBuiltInScenario;
  model.train_number = kBuiltInTrain;
  dati_linea(model, dir);
  dati_treno(model, dir);
  return builtin_files(dir);
}

inline std::vector<std::filesystem::path> files_left(const RunFiles& files) {
  return {files.notes, files.slowdowns, files.timetable, files.line_geometry, files.entry_table, files.cell_grid};
}

inline std::vector<std::filesystem::path> binaries(const RunFiles& files) {
  return {files.line_geometry, files.entry_table, files.cell_grid};
}

// Stands in for a file that a directory has taken the place of.
inline const std::string kDirectoryMark = "<directory>";

// Name -> content of each path (absent ones are left out).
using Snapshot = std::map<std::string, std::string>;

inline Snapshot snapshot(const std::vector<std::filesystem::path>& paths) {
  Snapshot contents;
  for (const std::filesystem::path& path : paths) {
    if (std::filesystem::is_directory(path)) {
      contents[path.filename().string()] = kDirectoryMark;
    } else if (const auto bytes = bytes_of(path)) {
      contents[path.filename().string()] = *bytes;
    }
  }
  return contents;
}

// An earlier run's complete files, each with content of its own, so that a
// file the failed run replaced, kept or cut short can be told apart.
inline void plant_earlier_files(const std::vector<std::filesystem::path>& paths) {
  for (const std::filesystem::path& path : paths) {
    std::filesystem::remove_all(path);
    const std::string content = "an earlier run's complete " + path.filename().string();
    replace_file(path, content);
  }
}

// Name -> inode of each path (absent ones are left out): a file that was
// replaced, even by the same bytes, has a new one.
inline std::map<std::string, ino_t> inodes(const std::vector<std::filesystem::path>& paths) {
  std::map<std::string, ino_t> numbers;
  for (const std::filesystem::path& path : paths) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) == 0) numbers[path.filename().string()] = status.st_ino;
  }
  return numbers;
}

}  // namespace scenario::testing
