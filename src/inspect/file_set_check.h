#pragma once

#include "model/route_model.h"
#include "model/run_files.h"

namespace scenario {

// The three files of a decoded scenario must come from one compile: the
// geometry must hold a point for every metre of the route the entry table
// states (row 84, plus the run-out), and the cell grid must reach exactly as
// far. A geometry file left by an earlier compile (a failed one, or one with
// --no-trace) or an entry table of another route is refused with a
// ScenarioFileError that names the stale file. A scenario without a
// geometry file passes.
void check_file_set(const RouteModel& model, const RunFiles& files);

}  // namespace scenario
