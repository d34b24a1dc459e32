#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/route_model.h"
#include "reader/read_sources.h"

namespace scenario::bench {

// The three binary files of a compilation, as bytes.
struct ScenarioBytes {
  std::string line_geometry;
  std::string entry_table;
  std::string cell_grid;
};

// The readers' half of memorizza_percorso on sources held in memory: the
// model becomes the scenario read from both sources, keeping its scenario
// name and train number; nothing is deleted. j non-zero builds the plan
// trace. Returns what the reading told.
ReadReport read_sources_in_memory(RouteModel& model, std::string_view line_source, std::string_view train_source,
                                  int32_t j);

// The whole compilation without touching the disk: the readers, the cell
// post-pass, the competition codes and the three files encoded in memory.
// The two reserved marks are left out: two stores, no measurable work.
ScenarioBytes compile_in_memory(RouteModel& model, std::string_view line_source, std::string_view train_source,
                                int32_t j, ReadReport& read);

}  // namespace scenario::bench
