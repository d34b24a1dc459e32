#pragma once

#include <span>

#include "model/route_model.h"
#include "reader/field_reader.h"
#include "reader/reader_context.h"
#include "reader/record_loop.h"

namespace scenario {

// How the line half ended: the train source is read after a normal end or
// error 15, not after any other error.
enum class LineOutcome { kTrainFollows, kStop };

// The line half of memorizza_dati, from the start of the source to the final
// gradient fill and the trace extension. Leaves the deletion of the source
// to the caller.
LineOutcome read_line_source(RouteModel& model, FieldReader& reader, ReaderContext& context);

// The record kinds of the line source's general section and of its track
// records, in the order of their tests.
std::span<const KeywordTest> general_rows();
std::span<const KeywordTest> track_records();

}  // namespace scenario
