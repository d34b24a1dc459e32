#include "model/run_files.h"
#include "tool/commands.h"
#include "tool/new_command.h"
#include "tool/run_names.h"
#include "tool/source_pair.h"
#include "tool/starter_sources.h"

namespace scenario::tool {

// Writes a small commented pair of sources under the author's names, one
// that compiles without a diagnostic; like export, it overwrites a source
// only with --force.
int new_scenario(const NewRequest& request) {
  if (names_refused("new", request.scenario, request.train)) return kBadCommandLine;
  return write_source_pair("new", run_files(request.dir, request.scenario, request.train), request.force,
                           starter_line_table(), starter_train_table());
}

}  // namespace scenario::tool
