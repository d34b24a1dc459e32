#pragma once

#include <cstdint>

#include "model/route_model.h"
#include "model/trace_walk.h"

namespace scenario::testing {

// A small compiled scenario, built in memory: `length` metres of route plus
// the run-out, bending by `curvature` radians per metre from the start (0
// for a route with no curves). Two stations, a signal, a speed board, a
// tunnel, two speed limits, two gradients and a falling kilometre numbering
// from km 10.
inline RouteModel handmade_route(int32_t length, double curvature) {
  RouteModel model;
  model.extended_length = length + kRunOut;
  // The points as a compilation walks them, computed from 2 to E - 2.
  const int64_t last = int64_t{model.extended_length} - 2;
  model.trace = trace_points(PlanTrace{
      .points = model.extended_length + 1, .seeded = true, .runs = {{kFirstComputedPoint, last, curvature}}});
  model.last_cell = model.extended_length / kCellLength;
  model.cells.assign(static_cast<size_t>(model.last_cell) + 1,
                     Cell{.speed_limit = 12, .gradient = 100, .adhesion = 100});
  for (size_t i = 8; i < model.cells.size(); ++i) model.cells[i].speed_limit = 20;
  for (size_t i = 20; i < model.cells.size(); ++i) model.cells[i].gradient = 105;
  model.cells[10].tunnel = model.cells[11].tunnel = 2;
  model.cells[1].p1 = kCellMark;
  model.cells[9] = Cell{.kind = kSpeedBoard, .p1 = 2020, .p2 = 2020, .p3 = 2020, .speed_limit = 20, .gradient = 100};
  model.cells[21] = Cell{.kind = kSignal, .p1 = 42, .p4 = 8, .speed_limit = 20, .gradient = 105};
  model.entries[1] = Entry{.kind = 11, .long1 = -300, .long2 = 300, .long3 = 0, .text = "DORVALLO"};
  model.entries[2] = Entry{.kind = 2, .long1 = length - 400, .long2 = length, .long3 = length - 200, .text = "FINE"};
  model.entries[kProgressiveDueRow] = Entry{.long2 = 10100, .long3 = 1, .text = ""};
  model.entries[kTotalsRow] = Entry{.long2 = length, .text = ""};
  model.entries[kScenarioRow].text = "Prova";
  model.entries[kTrainRow].text = "1";
  return model;
}

}  // namespace scenario::testing
