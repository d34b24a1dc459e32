#pragma once

#include <cstdint>
#include <string_view>

#include "model/route_model.h"
#include "model/run_files.h"

namespace scenario {

// Whether the reader deletes the sources it read. The package deletes its own
// transient sources; a route author's sources are never deleted.
enum class SourcePolicy { kDelete, kKeep };

// Reads the line source, then the train source, into the model. Problems are
// left in model.error_code with model.error_site; every run-time failure is
// trapped once and recorded as 25.
void memorizza_dati(RouteModel& model, const RunFiles& files, SourcePolicy policy);

// A source longer than this is refused before it is read: a route of the
// longest length with a record on every cell stays well below it.
inline constexpr std::uintmax_t kLargestSource = 8 * 1024 * 1024;

// Both sources held in memory, by the caller.
struct SourceTexts {
  std::string_view line;
  std::string_view train;
};

// The same reading over sources held in memory, named in diagnostics as the
// files would be: nothing is read from disk or deleted, and the line source
// always exists.
void memorizza_dati(RouteModel& model, const RunFiles& files, const SourceTexts& texts);

}  // namespace scenario
