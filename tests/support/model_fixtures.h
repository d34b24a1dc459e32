#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "model/route_model.h"

namespace scenario::testing {

// A model named as start-up names a run, before anything is read.
inline RouteModel named_model(std::string_view scenario, std::string_view train) {
  RouteModel model;
  model.scenario_name = scenario;
  model.train_number = train;
  return model;
}

// A model with an empty grid of cells 0 to last_cell, as the line half leaves
// it for the record handlers.
inline RouteModel model_with_cells(int32_t last_cell) {
  RouteModel model;
  model.last_cell = last_cell;
  model.cells.resize(static_cast<size_t>(last_cell) + 1);
  return model;
}

// The approach codes of the given cells, in the order given.
inline std::vector<uint8_t> approaches(const RouteModel& model, const std::vector<int>& cells) {
  std::vector<uint8_t> codes;
  for (const int i : cells) codes.push_back(model.cells[static_cast<size_t>(i)].approach);
  return codes;
}

}  // namespace scenario::testing
