#pragma once

#include <cstdint>
#include <string>

#include "model/route_model.h"

namespace scenario::lsp {

// What the read scenario holds at route position p, one fact a line in
// Markdown: the kilometre reading of each progressive system, the cell, its
// gradient and line speed limit, and the station or tunnel p falls in.
std::string position_facts(const RouteModel& model, int64_t p);

}  // namespace scenario::lsp
