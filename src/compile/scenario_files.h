#pragma once

#include "model/route_model.h"
#include "model/run_files.h"

namespace scenario {

// Writes the line geometry file (only when write_trace is non-zero), the entry
// table file and the cell grid file, in that order, each replacing any older
// file whole. All three are encoded before the first is written, so a model
// that cannot be encoded leaves every file of an earlier run as it was.
void write_scenario_files(const RouteModel& model, const RunFiles& files);

}  // namespace scenario
