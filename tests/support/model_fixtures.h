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

// A complete trace over E metres: seeds at 0 and 1, doubles from 2 to E - 2,
// the last two metres empty.
inline Trace complete_trace(int extended_length) {
  Trace trace;
  for (TraceValues* axis : {&trace.x, &trace.y}) {
    axis->resize(static_cast<size_t>(extended_length) + 1);
    (*axis)[0] = TraceValue{TraceValue::kInt16, 0.0};
    (*axis)[1] = TraceValue{TraceValue::kInt16, axis == &trace.y ? 1.0 : 0.0};
    for (int m = 2; m <= extended_length - 2; ++m) (*axis)[static_cast<size_t>(m)] = {TraceValue::kDouble, m * 0.5};
  }
  return trace;
}

// The approach codes of the given cells, in the order given.
inline std::vector<uint8_t> approaches(const RouteModel& model, const std::vector<int>& cells) {
  std::vector<uint8_t> codes;
  for (const int i : cells) codes.push_back(model.cells[static_cast<size_t>(i)].approach);
  return codes;
}

}  // namespace scenario::testing
