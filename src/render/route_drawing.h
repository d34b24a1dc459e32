#pragma once

#include <string>

#include "model/route_model.h"
#include "render/drawing_options.h"

namespace scenario {

// The route drawn from a decoded scenario (trace, entries and cells; the trace
// may be empty): a title, the plan above and the profile below, of the whole
// route or of the span asked for. A PDF has a page for each of pdf_pages on
// its paper, whatever the width and height. Returns the bytes of the image;
// throws std::invalid_argument for a size outside kSmallestSide to
// kLargestSide or a span outside the route, and std::runtime_error when
// cairo fails.
std::string render_route(const RouteModel& model, const RenderOptions& options);

}  // namespace scenario
