#pragma once

#include "model/route_model.h"
#include "reader/field_reader.h"
#include "reader/reader_context.h"

namespace scenario {

// How the line half ended: the train source is read after a normal end or
// error 15, not after any other error.
enum class LineOutcome { kTrainFollows, kStop };

// The line half of memorizza_dati, from the start of the source to the final
// gradient fill and the trace extension. Leaves the deletion of the source
// to the caller.
LineOutcome read_line_source(RouteModel& model, FieldReader& reader, ReaderContext& context);

}  // namespace scenario
