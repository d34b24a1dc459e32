#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "compile/memorizza_percorso.h"
#include "model/diagnostic.h"
#include "model/route_model.h"
#include "model/run_files.h"
#include "reader/read_sources.h"

namespace scenario::tool {

// At most this many errors, and this many warnings of each name, are
// printed; past them, how many more there are.
inline constexpr size_t kShownErrors = 50;
inline constexpr size_t kShownWarningsOfAName = 50;

// The reading of compile and check: recovering, so that every independent
// error is listed, with the names as the files store them.
ReadOptions tool_reading(const std::string& scenario, const std::string& train, int32_t write_trace);

// What a command prints: the reading's diagnostics, the compiler's own
// after them, and how many the reading only counted.
struct DiagnosticList {
  std::vector<Diagnostic> items;
  size_t unlisted_errors = 0;
  size_t unlisted_warnings = 0;
};

// The reading's diagnostics, moved out of its report.
DiagnosticList listed(ReadReport& report);

// Sealing and encoding in memory find what a compile would refuse after a
// reading without error (1250, 1251, a text too long), writing nothing.
std::vector<Diagnostic> compiler_checks(RouteModel model, const ReadReport& report);

// What check lists of a reading: its diagnostics, then the compiler's own
// checks of the scenario when the reading found no error (only then is it
// the scenario a compile would seal). The checks seal the scenario they are
// given: a caller that keeps its own passes a copy.
DiagnosticList checked_list(RouteModel scenario, ReadReport& report);

// The compiler's own errors, found after the readers'.
Diagnostic fatal_diagnostic(const FatalError& fatal);
Diagnostic text_too_long(const RouteModel& model, const ReadReport& report, const std::string& what);

// A fault of the program met while reading, said plainly on stderr.
void report_internal_error(const std::string& command, const std::exception& fault);

struct ListCount {
  size_t errors = 0;
  size_t warnings = 0;
};

// Prints the list to out, the first kShownErrors errors and the first
// kShownWarningsOfAName warnings of each name, then how many are not shown
// (of each name, and those the reading only counted); PATH as format_diagnostic makes it,
// in colour when asked.
ListCount print_list(std::ostream& out, const DiagnosticList& list, const std::string& dir, bool colour);

// "no error", "1 error", "3 errors": a count and its noun, which takes an s.
std::string counted(size_t count, std::string_view noun);

// The line after a list, "2 errors, 1 warning\n": what it held, errors
// first, naming only what there is; empty for an empty list.
std::string summary_line(const ListCount& count);

}  // namespace scenario::tool
