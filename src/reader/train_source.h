#pragma once

#include "model/route_model.h"
#include "reader/field_reader.h"
#include "reader/reader_context.h"

namespace scenario {

// The train half of memorizza_dati: the main loop and, unless a record was
// refused, the end processing. Leaves the deletion of the source to the
// caller.
void read_train_source(RouteModel& model, FieldReader& reader, ReaderContext& context);

}  // namespace scenario
