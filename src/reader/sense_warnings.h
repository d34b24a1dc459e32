#pragma once

#include <cstdint>

#include "model/route_model.h"
#include "reader/field_reader.h"
#include "reader/reader_context.h"
#include "reader/record_loop.h"
#include "reader/slowdowns.h"

// Warnings about records that read without an error, but most likely not as
// their author meant. None changes what is read or stored.

namespace scenario {

// comment-limit: the token holds "-", but the comments before it have used up
// the limit of comments in a row, so it is tested as a record.
void warn_comment_limit(Record& record, CommentRule comments);

// repeated-row: a row of a general section, read whole, given again replaces
// the one before it.
void warn_repeated_row(Record& record);

// reserved-cell: the record put an object into cell 1 whose first two values
// are 0, which the compiler then fills with its mark and competition code.
// (One with either value set is an error of the compiler, 1250 or 1251.)
void warn_reserved_cell(Record& record, const Cell& before, const Cell& now);

// curve-keyword: a curve keyword other than "curva", a side letter and a
// class digit reads by its first "s" and its first class digit, which may
// not be what it says; empty-curve: a curve of no length bends nothing.
void warn_curve(Record& record, const Number& start, const Number& length);

// open-air-tunnel: a tunnel stored with kind 0 leaves no tunnel in its cells.
void warn_open_air_tunnel(Record& record, int32_t inizio, int32_t fine, const Number& tipo);

// Keeps a slowdown laid into the grid for warn_slowdown_speeds.
void note_slowdown(Record& record, const SlowdownRecord& slowdown, FieldSite speed);

// Once the speed limits are in the cells: fast-slowdown, a slowdown faster
// than the line speed where it starts, which slows nothing; swapped-slowdown,
// one whose length would be a speed below that line speed, its speed and
// length most likely swapped.
void warn_slowdown_speeds(ReaderContext& context, const FieldReader& reader, const RouteModel& model);

// time-backwards: a station timed earlier than the station before it on the
// route. A time of 00:00:00 is no time (timing points carry none), and a
// time more than 12 hours earlier is taken as the next day.
void warn_time_order(Record& record, int32_t row, FieldSite hour);

// displaced-object: a station's stop mark about to replace the object in its
// stop cell.
void warn_displaced(Record& record, FieldSite position, const Entry& station, int64_t stop);

}  // namespace scenario
