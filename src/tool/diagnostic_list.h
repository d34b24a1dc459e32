#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "compile/memorizza_percorso.h"
#include "model/diagnostic.h"
#include "model/route_model.h"
#include "model/run_files.h"

namespace scenario::tool {

// At most this many errors are printed; past it, how many more there are.
inline constexpr size_t kShownErrors = 50;

// Every error and warning a recovering reading of both sources finds, in
// reading order. With sealing, and when the sources hold no error, the
// compiler's own checks run too (1250, 1251, a text too long), writing
// nothing. The model is the reading's own and never written.
enum class Sealing { kNone, kCheck };
std::vector<Diagnostic> check_sources(const RunFiles& files, const std::string& scenario, const std::string& train,
                                      Sealing sealing);

// The list always holds the error the compilation recorded, in its place
// among the others even where recovery did not meet it.
std::vector<Diagnostic> with_recorded(std::vector<Diagnostic> list, const Diagnostic& recorded,
                                      const RunFiles& files);

// The compiler's own errors, found after the readers'.
Diagnostic fatal_diagnostic(const FatalError& fatal);
Diagnostic text_too_long(const RouteModel& model, const std::string& what);

struct ListCount {
  size_t errors = 0;
  size_t warnings = 0;
};

// Prints the list to out, every warning and the first kShownErrors errors,
// then how many errors are not shown; PATH as format_diagnostic makes it.
ListCount print_list(std::ostream& out, const std::vector<Diagnostic>& list, const std::string& dir);

}  // namespace scenario::tool
