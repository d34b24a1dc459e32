#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "io/replace_file.h"
#include "support/run_program.h"
#include "support/source_fixtures.h"
#include "support/temp_dir.h"

namespace scenario::testing {

struct Outcome {
  std::optional<int> status;
  std::string out;
  std::string err;
};

// The environment the tool runs in unless a test names one.
inline const std::vector<std::string> kToolEnvironment = {"PATH=/usr/bin:/bin"};

// Runs the tool with the given arguments, capturing what it prints; in
// working_dir when one is named.
inline Outcome scenario_tool(const std::vector<std::string>& arguments,
                             const std::filesystem::path& working_dir = {},
                             const std::vector<std::string>& environment = kToolEnvironment) {
  TempDir output;
  Outcome outcome;
  outcome.status = run_program(SCENARIO_PROGRAM, arguments, environment, std::chrono::seconds(60), output / "out",
                               output / "err", working_dir.string());
  outcome.out = bytes_of(output / "out").value_or("");
  outcome.err = bytes_of(output / "err").value_or("");
  return outcome;
}

// A 20000 m route whose track records are body, and a train source whose
// records are body.
inline std::string line_with(const std::string& body) {
  return "[generale]\r\nlunghezza percorso, 20000\r\n[curve]\r\n" + body + "[fine]\r\n";
}
inline std::string train_with(const std::string& body) { return "[generale]\r\n" + body + "[fine]\r\n"; }

// The sources of scenario S, train T, in dir.
inline void write_sources(const TempDir& dir, const std::string& line, const std::string& train) {
  replace_file(dir / "S_linea.txt", line);
  replace_file(dir / "S_T-.txt", train);
}

}  // namespace scenario::testing
