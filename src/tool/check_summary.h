#pragma once

#include <string>

#include "model/route_model.h"
#include "model/run_files.h"
#include "tool/diagnostic_list.h"

namespace scenario::tool {

// What a reading without error holds, counted as the author wrote it:
// "12 km, 3 stations, 6 signals, 3 speed boards, 2 indication boards,
// 2 tunnels, 1 slowdown". Stations include timing points; the speed
// reduction points are left out, since a compile adds its own.
std::string route_summary(const RouteModel& model);

// The line check ends a reading without error with, so that the author sees
// that it ran and what it read: both sources as the diagnostics name them,
// the route's summary and the count, "no error, 2 warnings".
std::string checked_line(const RunFiles& files, const std::string& dir, const std::string& route,
                         const ListCount& count);

}  // namespace scenario::tool
