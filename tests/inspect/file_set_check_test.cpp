#include "inspect/file_set_check.h"

#include <gtest/gtest.h>

#include <string>

#include "inspect/scenario_file.h"

namespace scenario {
namespace {

// The files of a 2000 m route as one compile leaves them: 2000 + 7000 m of
// grid and trace.
RouteModel route_of_2000_m() {
  RouteModel model;
  model.entries[kTotalsRow].long2 = 2000;
  model.cells.resize(9000 / kCellLength + 1);
  model.trace.x.resize(9001);
  model.trace.y.resize(9001);
  return model;
}

// The message of the refusal, or "" when the files pass.
std::string refusal(const RouteModel& model) {
  try {
    check_file_set(model, run_files("d", "S", "T"));
  } catch (const ScenarioFileError& e) {
    return e.what();
  }
  return "";
}

TEST(FileSetCheck, NamesTheFileThatDoesNotBelong) {
  RouteModel model = route_of_2000_m();
  EXPECT_EQ(refusal(model), "");

  model.trace = Trace{};  // compiled without a plan
  EXPECT_EQ(refusal(model), "");

  model = route_of_2000_m();
  model.trace.x.resize(8001);  // left by a compile of a 1000 m route
  model.trace.y.resize(8001);
  EXPECT_EQ(refusal(model).rfind("d/S_linea.dat: stale: it holds a route of 1000 m", 0), 0u) << refusal(model);

  model = route_of_2000_m();
  model.entries[kTotalsRow].long2 = 117000;  // the table of another route
  EXPECT_EQ(refusal(model).rfind("d/S_T.sim: stale: it states a route of 117000 m", 0), 0u) << refusal(model);
}

}  // namespace
}  // namespace scenario
