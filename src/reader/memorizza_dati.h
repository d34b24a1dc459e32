#pragma once

#include "model/route_model.h"
#include "model/run_files.h"

namespace scenario {

// Whether the reader deletes the sources it read. The package deletes its own
// transient sources; a route author's sources are never deleted.
enum class SourcePolicy { kDelete, kKeep };

// Reads the line source, then the train source, into the model. Problems are
// left in model.error_code with model.error_site; every run-time failure is
// trapped once and recorded as 25.
void memorizza_dati(RouteModel& model, const RunFiles& files, SourcePolicy policy);

}  // namespace scenario
