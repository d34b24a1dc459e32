#include "run/run_sequence.h"

#include "compile/memorizza_percorso.h"
#include "documents/driver_documents.h"
#include "io/file_system.h"
#include "io/run_lock.h"
#include "model/route_model.h"
#include "model/run_files.h"
#include "sources/builtin_sources.h"

namespace scenario {
namespace {

// The sources and documents, in the run's order. The sources are the
// package's own and never outlive a run: should a later file fail, they go
// (the readers delete them once they read them).
void write_texts(RouteModel& model, const std::filesystem::path& dir) {
  try {
    // Read back and deleted within milliseconds: not worth flushing to disk.
    dati_linea(model, dir, Durability::kTransient);
    dati_treno(model, dir, Durability::kTransient);
    dati_note(model, dir);
    dati_rallentamenti(model, dir);
    dati_scheda(model, dir);
  } catch (...) {
    const RunFiles files = run_files(dir, model.scenario_name, model.train_number);
    file_system().unlink(files.line_source);
    file_system().unlink(files.train_source);
    throw;
  }
}

}  // namespace

void run_package(const std::filesystem::path& dir) {
  // Held for the whole run: another run would delete the sources this one reads.
  const RunLock lock(dir, kRunLockWait, is_run_file_name);
  RouteModel model;
  model.scenario_name = kBuiltInScenario;
  model.train_number = kBuiltInTrain;
  write_texts(model, dir);
  memorizza_percorso(model, kWithTrace, run_files(dir, model.scenario_name, model.train_number), CompileOptions{});
}

}  // namespace scenario
