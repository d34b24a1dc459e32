#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "io/replace_file.h"
#include "model/route_model.h"
#include "model/run_files.h"
#include "reader/memorizza_dati.h"
#include "support/model_fixtures.h"
#include "support/temp_dir.h"

namespace scenario::testing {

// A fresh directory, the files of one run in it, and that run's model named
// as start-up names it.
struct RunInTempDir {
  RunInTempDir(std::string_view scenario, std::string_view train)
      : files(run_files(dir.path(), scenario, train)), model(named_model(scenario, train)) {}

  // Reads the run's two sources as the package does, strictly, with the
  // model's names and write_trace: the model becomes the scenario read, and
  // report holds what the reading told.
  void read_sources(SourcePolicy policy) {
    ReadResult read =
        memorizza_dati(files, read_options(model.scenario_name, model.train_number, model.write_trace), policy);
    model = std::move(read.scenario);
    report = std::move(read.report);
  }

  int32_t error_code() const { return report.error_code(); }
  ErrorSite error_site() const { return report.recorded ? report.recorded->site : ErrorSite{}; }

  TempDir dir;
  RunFiles files;
  RouteModel model;
  ReadReport report;
};

// Leaves both text sources of a run on disk, as an author or dati_linea and
// dati_treno would.
inline void write_sources(const RunFiles& files, std::string_view line, std::string_view train) {
  replace_file(files.line_source, line);
  replace_file(files.train_source, train);
}

}  // namespace scenario::testing
