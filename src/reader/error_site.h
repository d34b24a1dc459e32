#pragma once

#include <cstdint>
#include <string>

#include "model/error_codes.h"
#include "model/route_model.h"
#include "reader/field_reader.h"

namespace scenario {

// Completes the diagnostic of an error just recorded (refuse() has set the
// number and the detail): the reader's file name, the line and column given
// (the record's keyword line, the column of the field at fault) and the text
// of that line.
void mark_site(RouteModel& model, const FieldReader& reader, FieldSite site);

// refuse() and mark_site() in one, for refusals the reader finds itself.
void refuse_at(RouteModel& model, const FieldReader& reader, FieldSite site, ErrorCode code,
               std::string detail);

// "cell 155 already holds an indication board": what stands in the way of a
// placement.
std::string cell_taken(int64_t index, const Cell& cell);

}  // namespace scenario
