#pragma once

#include <cstdint>
#include <string>

#include "model/error_codes.h"
#include "model/route_model.h"
#include "model/run_failure.h"
#include "reader/field_reader.h"

namespace scenario {

// A run-time failure whose cause stands elsewhere than the field being read
// (a record cut short, a value written into the cells only when the next
// record arrives): the trap points at site, on the reader's line site.line.
class RecordFailure : public RunFailure {
 public:
  RecordFailure(FieldSite at, const std::string& what) : RunFailure(what), site(at) {}
  FieldSite site;
};

// The place of a field: the reader's file name, the line and column and the
// text of that line; no detail yet.
ErrorSite site_of(const FieldReader& reader, FieldSite site);

// Completes the diagnostic of an error just recorded (refuse() has set the
// number and the detail): the reader's file name, the line and column given
// (the record's keyword line, the column of the field at fault) and the text
// of that line.
void mark_site(RouteModel& model, const FieldReader& reader, FieldSite site);

// refuse() and mark_site() in one, for refusals the reader finds itself.
void refuse_at(RouteModel& model, const FieldReader& reader, FieldSite site, ErrorCode code,
               std::string detail);

// A recovering reading moves the error just recorded into the list of notes
// and clears it; an error the list already holds (the same fault met again)
// is dropped.
void note_recorded_error(RouteModel& model);

// Whether the notes hold an error.
bool has_noted_error(const ReaderNotes& notes);

// "cell 155 already holds an indication board": what stands in the way of a
// placement.
std::string cell_taken(int64_t index, const Cell& cell);

}  // namespace scenario
