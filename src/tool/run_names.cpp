#include "tool/run_names.h"

#include <climits>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "io/temporaries.h"
#include "model/run_files.h"
#include "model/windows1252.h"
#include "tool/diagnostic.h"

namespace scenario::tool {
namespace {

// One file of a run as the checks see it.
struct RunFile {
  std::string_view role;
  std::filesystem::path path;
  std::optional<ScenarioFileKind> kind;  // for a binary file, the kind its name must tell
};

std::vector<RunFile> files_of(const RunFiles& files) {
  return {
      {"line source", files.line_source, std::nullopt},
      {"train source", files.train_source, std::nullopt},
      {"notes sheet", files.notes, std::nullopt},
      {"slowdown order form", files.slowdowns, std::nullopt},
      {"timetable card", files.timetable, std::nullopt},
      {"line geometry file", files.line_geometry, ScenarioFileKind::kLineGeometry},
      {"entry table", files.entry_table, ScenarioFileKind::kEntryTable},
      {"cell grid", files.cell_grid, ScenarioFileKind::kCellGrid},
      {"view page", files.view_page, std::nullopt},
  };
}

std::string quoted(std::string_view label, std::string_view name) {
  return std::string(label) + " \"" + std::string(name) + "\"";
}

// The checks of one name on its own.
std::optional<std::string> name_problem(std::string_view label, std::string_view name) {
  if (name.empty()) return std::string(label) + " is empty";
  if (name == "." || name == "..") return quoted(label, name) + " is a directory's name, not a file's";
  if (name.find('/') != std::string_view::npos) return quoted(label, name) + " holds a '/'";
  if (name.find('\0') != std::string_view::npos) return std::string(label) + " holds a NUL byte";
  if (!utf8_to_windows1252(name)) {
    return quoted(label, name) + " cannot be stored: it is not UTF-8, or holds a character Windows-1252 lacks";
  }
  return std::nullopt;
}

// On the simulator's disks letter case does not tell files apart.
std::string folded(const std::filesystem::path& path) {
  return windows1252_lower(stored_name(path.filename().string()));
}

std::optional<std::string> file_problem(const RunFile& file) {
  const std::string name = file.path.filename().string();
  if (longest_temporary_name(name) > NAME_MAX) {
    return "the " + std::string(file.role) + " " + name + " is too long: with its temporary's mark it passes the " +
           std::to_string(NAME_MAX) + " bytes a file name may have";
  }
  if (file.kind && scenario_file_kind(file.path) != file.kind) {
    return "the " + std::string(file.role) + " " + name + " would be taken for a file of another kind";
  }
  if (temporary_writer(name)) {
    return "the " + std::string(file.role) + " " + name + " would be taken for a dead run's temporary and removed";
  }
  return std::nullopt;
}

std::optional<std::string> set_problem(const std::vector<RunFile>& files) {
  std::vector<std::string> names;
  for (const RunFile& file : files) names.push_back(folded(file.path));
  for (size_t i = 0; i < files.size(); ++i) {
    for (size_t j = 0; j < i; ++j) {
      if (names[i] == names[j]) {
        return "the " + std::string(files[i].role) + " and the " + std::string(files[j].role) +
               " would both be " + files[i].path.filename().string();
      }
    }
  }
  for (const RunFile& file : files) {
    if (std::optional<std::string> problem = file_problem(file)) return problem;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> run_names_problem(std::string_view scenario, std::string_view train) {
  if (auto problem = name_problem("SCENARIO", scenario)) return problem;
  if (auto problem = name_problem("TRAIN", train)) return problem;
  if (auto problem = set_problem(files_of(run_files(".", scenario, train)))) {
    return quoted("SCENARIO", scenario) + " with " + quoted("TRAIN", train) + ": " + *problem;
  }
  return std::nullopt;
}

bool names_refused(std::string_view command, std::string_view scenario, std::string_view train) {
  const std::optional<std::string> problem = run_names_problem(scenario, train);
  if (problem) std::cerr << command_message(command, *problem);
  return problem.has_value();
}

std::string stored_name(std::string_view name) {
  std::optional<std::string> stored = utf8_to_windows1252(name);
  if (!stored) throw std::logic_error("an unchecked name: " + std::string(name));
  return std::move(*stored);
}

}  // namespace scenario::tool
