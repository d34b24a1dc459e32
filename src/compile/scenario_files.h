#pragma once

#include "model/route_model.h"
#include "model/run_files.h"

namespace scenario {

// Writes the line geometry file (only when write_trace is non-zero), the entry
// table file and the cell grid file, in that order, each replacing any older
// file whole. The entry table and the cell grid are encoded before the first
// file is written, so a model that cannot be encoded leaves every file of an
// earlier run as it was; the line geometry, which always encodes, is streamed
// from the plan trace into its file.
void write_scenario_files(const RouteModel& model, const RunFiles& files);

}  // namespace scenario
