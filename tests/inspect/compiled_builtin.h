#pragma once

#include <exception>
#include <optional>
#include <string>

#include "compile/memorizza_percorso.h"
#include "model/run_files.h"
#include "sources/builtin_sources.h"
#include "support/temp_dir.h"

namespace scenario::testing {

// The built-in scenario compiled into dir, as `scenario export` and
// `scenario compile` leave it; the reason when it cannot be compiled.
inline std::optional<std::string> compile_builtin(const std::filesystem::path& dir, RunFiles& files) {
  RouteModel model;
  model.scenario_name = kBuiltInScenario;
  model.train_number = kBuiltInTrain;
  files = run_files(dir, kBuiltInScenario, kBuiltInTrain);
  try {
    dati_linea(model, dir);
    dati_treno(model, dir);
    const ReadReport read = memorizza_percorso(model, kWithTrace, files, CompileOptions{.sources = SourcePolicy::kKeep});
    if (read.error_code() != 0) return "error " + std::to_string(read.error_code());
  } catch (const std::exception& e) {
    return std::string(e.what());
  }
  return std::nullopt;
}

}  // namespace scenario::testing
