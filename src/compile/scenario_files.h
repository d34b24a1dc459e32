#pragma once

#include "model/route_model.h"
#include "model/run_files.h"

namespace scenario {

// Writes the line geometry file (only when write_trace is non-zero), the entry
// table file and the cell grid file as one staged set (io/staged_files.h):
// all are written and on disk (the line geometry streamed from the
// plan trace into its file) before the first replaces its older file, in
// that order. A model that cannot be encoded, or a file that cannot be
// written, leaves every file of an earlier run as it was.
void write_scenario_files(const RouteModel& model, const RunFiles& files);

}  // namespace scenario
