#pragma once

#include <span>

#include "model/route_model.h"
#include "reader/field_reader.h"
#include "reader/reader_context.h"
#include "reader/record_loop.h"

namespace scenario {

// The train half of memorizza_dati: the main loop and, unless a record was
// refused, the end processing. Leaves the deletion of the source to the
// caller.
void read_train_source(RouteModel& model, FieldReader& reader, ReaderContext& context);

// The record kinds of the train source, in the order of their tests.
std::span<const KeywordTest> train_records();

}  // namespace scenario
