#pragma once

#include <string_view>

#include "model/run_files.h"
#include "sources/line_table.h"

namespace scenario::tool {

// Writes a line and a train source as the run's files name them, making
// their directory and its parents: what `scenario export` and `scenario new`
// do. Both paths are looked at before either is written, so that a refusal
// writes nothing: without force an existing source is named on the error
// stream and the status is 1. COMMAND names the command in messages.
int write_source_pair(std::string_view command, const RunFiles& files, bool force, LineTable line, LineTable train);

}  // namespace scenario::tool
