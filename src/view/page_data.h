#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "model/diagnostic.h"
#include "model/route_model.h"
#include "reader/read_sources.h"

// What the view page shows, as the JSON its script draws from: the route's
// profile and plan, every object with the record that made it and what the
// compiler stored, and the diagnostics of `scenario check`.

namespace scenario::view {

// A diagnostic as the page lists it: its text as the tool prints it, and
// where it points.
struct PageDiagnostic {
  Severity severity = Severity::kError;
  std::string file;
  int line = 0;
  std::string text;  // UTF-8, the whole message with its notes
};

struct PageInput {
  std::string title;          // UTF-8
  const RouteModel& read;     // as the readers left it
  const RouteModel& sealed;   // completed by the compiler, as a compile writes it
  const ReadReport& report;   // read with its records kept
  std::vector<PageDiagnostic> diagnostics;
};

nlohmann::ordered_json page_data(const PageInput& input);

}  // namespace scenario::view
