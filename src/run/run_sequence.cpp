#include "run/run_sequence.h"

#include "compile/memorizza_percorso.h"
#include "documents/driver_documents.h"
#include "io/run_lock.h"
#include "model/route_model.h"
#include "model/run_files.h"
#include "sources/builtin_sources.h"

namespace scenario {

void run_package(const std::filesystem::path& dir) {
  // Held for the whole run: another run would delete the sources this one reads.
  const RunLock lock(dir);
  RouteModel model;
  model.scenario_name = kBuiltInScenario;
  model.train_number = kBuiltInTrain;
  // Read back and deleted within milliseconds: not worth flushing to disk.
  dati_linea(model, dir, Durability::kTransient);
  dati_treno(model, dir, Durability::kTransient);
  dati_note(model, dir);
  dati_rallentamenti(model, dir);
  dati_scheda(model, dir);
  memorizza_percorso(model, kWithTrace, run_files(dir, model.scenario_name, model.train_number), CompileOptions{});
}

}  // namespace scenario
