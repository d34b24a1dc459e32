#include "model/run_files.h"
#include "sources/builtin_sources.h"
#include "tool/commands.h"
#include "tool/export_command.h"
#include "tool/run_names.h"
#include "tool/source_pair.h"

namespace scenario::tool {

// Writes the built-in line and train sources, byte for byte as the package
// writes them (dati_linea and dati_treno write these tables), under the
// requested names: a starting point for a scenario of one's own. An author's
// edited sources are overwritten only with --force.
int export_builtin(const ExportRequest& request) {
  if (names_refused("export", request.scenario, request.train)) return kBadCommandLine;
  return write_source_pair("export", run_files(request.dir, request.scenario, request.train), request.force,
                           line_source_table(), train_source_table());
}

}  // namespace scenario::tool
