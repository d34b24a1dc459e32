#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/route_model.h"
#include "reader/field_reader.h"
#include "reader/record_loop.h"
#include "reader/source_schema.h"

// Warnings: what the readers let through but drop or alter. Each has a short
// name in brackets; none changes anything that is read or stored.

namespace scenario {

// A warning about the field at of the record's source.
void warn(Record& record, FieldSite at, std::string_view name, std::string detail);

// A warning about a whole source.
void warn_file(ReaderContext& context, const FieldReader& reader, std::string_view name, std::string detail);

// A line that begins with a comment mark of other formats (#, //, ;) is
// read as a record all the same.
void warn_foreign_comment(Record& record);

// The first field of a line that no record kind took (no keyword, no
// heading, no comment), unless it would start a record in another letter
// case or in another section or source (warn_misplaced).
void warn_unknown_record(Record& record);

// The last field of a source is never tested for a keyword: one that would
// begin a record is skipped without a word unless this says so.
void warn_unread_last_field(ReaderContext& context, const FieldReader& reader);

// A position off the 50 m cells stands as if at the start of the cell it
// falls in: cell - shift cells from the origin.
void warn_moved_to_cell(Record& record, std::string_view what, const Number& position, int64_t cell, int64_t shift);

// Both warnings of an object placed in the cell after its position's.
void warn_placement(Record& record, std::string_view what, const Number& position, int64_t cell);

// An object placed past the route's stated length, on the run-out.
void warn_past_route_end(Record& record, std::string_view what, const Number& position);

// A time of day, in seconds after midnight, past 23:59:59.
void warn_late_time(Record& record, FieldSite at, std::string_view what, int64_t seconds);

// A text whose bytes read as UTF-8: the source is Windows-1252, so the
// simulator shows two or three odd letters for each such character.
void warn_utf8_text(Record& record, FieldSite at, std::string_view what, const std::string& text);

// A value outside the range its field holds intact, which the reading takes
// all the same: instead says how it is stored.
void warn_out_of_range(Record& record, FieldSite at, std::string_view what, const SchemaField& field, int64_t value,
                       std::string_view instead);

// A text field (a board text, a station name) read up to a comma, the rest of
// its line not part of it; a comment after it is no cut.
void warn_text_cut(Record& record, FieldSite at, std::string_view what, const std::string& text);

// A time as hh:mm:ss, each part as given (a minute of 75 stays 75).
std::string time_text(int64_t hour, int64_t minute, int64_t second);

// A time of day, in seconds after midnight, as hh:mm:ss.
std::string time_of_day_text(int64_t seconds);

}  // namespace scenario
