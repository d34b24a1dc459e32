#include "reader/sense_warnings.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "format/cell_kinds.h"
#include "format/scenario_format.h"
#include "model/numeric.h"
#include "model/windows1252.h"
#include "reader/gradients_tunnels.h"
#include "reader/plan_trace.h"
#include "reader/warnings.h"

namespace scenario {
namespace {

constexpr std::string_view kCurveWord = "curva";
constexpr char kLeftLetter = 's';
constexpr char kRightLetter = 'd';
constexpr int64_t kHalfDay = 12 * kSecondsPerHour;

std::string ordinal(int n) {
  const int last = n % 10;
  const bool teen = n % 100 >= 11 && n % 100 <= 13;
  const char* suffix = teen || last == 0 || last > 3 ? "th" : last == 1 ? "st" : last == 2 ? "nd" : "rd";
  return std::to_string(n) + suffix;
}

std::string metres(int64_t value) { return std::to_string(value) + " m"; }

// "a signal": what stands in a cell, as a message names it.
std::string object_in(const Cell& cell) {
  const std::optional<CellKindName> name = cell_kind_name(cell.kind);
  return name ? std::string(name->prose) : "an object of kind " + std::to_string(cell.kind);
}

// "curvas4" and "curvad4": the word, a side letter and a class digit, in any
// letter case, blanks aside.
bool is_plain_curve_keyword(std::string_view keyword) {
  std::string rest = ascii_lower(keyword);
  const size_t word = rest.find(kCurveWord);
  if (word != std::string::npos) rest.erase(word, kCurveWord.size());
  std::erase_if(rest, [](char c) { return c == ' ' || c == '\t'; });
  return rest.size() == 2 && (rest[0] == kLeftLetter || rest[0] == kRightLetter) && rest[1] >= '1' && rest[1] <= '6';
}

void warn_curve_keyword(Record& record) {
  const std::string& keyword = record.token.text();
  const CurveKeyword curve = read_curve_keyword(keyword);
  if (curve.curve_class == 0 || is_plain_curve_keyword(keyword)) return;
  const std::string digit = std::to_string(curve.curve_class);
  warn(record, record.keyword, "curve-keyword",
       "curve keyword " + quoted(keyword) + " reads as a " + (curve.to_left ? "left" : "right") + " curve of class " +
           digit + ": an \"s\" anywhere makes a curve turn left and the first of the digits 1 to 6 gives its class; "
           "write \"curvas" + digit + "\" for a left curve or \"curvad" + digit + "\" for a right one");
}

// The line speed of the cell a position lies in, km/h; 0 where none is known.
int32_t line_speed_at(const RouteModel& model, int32_t position) {
  const int64_t cell = round_half_even(position / double{kCellLength});
  if (cell < 0 || cell >= static_cast<int64_t>(model.cells.size())) return 0;
  return decode_speed_limit(model.cells[static_cast<size_t>(cell)].speed_limit);
}

std::string slowdown_at(const SlowdownSeen& slowdown) { return "slowdown at " + metres(slowdown.x); }

}  // namespace

void warn_comment_limit(Record& record, CommentRule comments) {
  warn(record, record.keyword, "comment-limit",
       quoted(record.token.text()) + " is the " + ordinal(comments.limit + 1) +
           " comment field in a row, and at most " +
           std::to_string(comments.limit) +
           " in a row are skipped here: it is read as a record (an empty line between comments starts the count "
           "again)");
}

void warn_repeated_row(Record& record) {
  std::vector<RowSeen>& seen = record.state.rows_seen;
  const auto earlier =
      std::find_if(seen.begin(), seen.end(), [&](const RowSeen& row) { return row.test == record.test; });
  if (earlier == seen.end()) {
    seen.push_back({record.test, record.keyword.line});
    return;
  }
  warn(record, record.keyword, "repeated-row",
       quoted(record.token.text()) + " is given again: this row replaces the one on line " +
           std::to_string(earlier->line));
  earlier->line = record.keyword.line;
}

void warn_reserved_cell(Record& record, const Cell& before, const Cell& now) {
  if (is_free(now) || now.kind == before.kind || now.p1 != 0 || now.p2 != 0) return;
  warn(record, record.keyword, "reserved-cell",
       "this record puts " + object_in(now) + " into cell 1 (50 to 100 m), whose first two values the compiler "
       "fills with its fixed mark and the competition code: the object loses them; place objects from 50 m on, "
       "speed reduction points from 100 m");
}

void warn_curve(Record& record, const Number& start, const Number& length) {
  warn_curve_keyword(record);
  if (length.value > 0) return;
  warn(record, length.site, "empty-curve",
       "curve at " + metres(start.value) + " has length " + metres(length.value) + ": it bends nothing");
}

void warn_open_air_tunnel(Record& record, int32_t inizio, int32_t fine, const Number& tipo) {
  const TunnelCells cells = tunnel_cells(inizio, fine);
  if (cells.last < cells.first || cell_at(record.model, cells.first).tunnel != 0) return;
  warn(record, tipo.site, "open-air-tunnel",
       "tunnel from " + metres(inizio) + " to " + metres(fine) + " is stored as kind 0, open air (its kind reads " +
           std::to_string(tipo.value) +
           "): none of its cells shows a tunnel; tunnel kinds are 1 to 10, or 11 to 20 with markers");
}

void note_slowdown(Record& record, const SlowdownRecord& slowdown, FieldSite speed) {
  record.state.slowdowns.push_back({slowdown.x, slowdown.v, slowdown.l, speed});
}

void warn_slowdown_speeds(ReaderContext& context, const FieldReader& reader, const RouteModel& model) {
  for (const SlowdownSeen& slowdown : context.state.slowdowns) {
    const int32_t line_speed = line_speed_at(model, slowdown.x);
    if (line_speed == 0 || slowdown.v <= line_speed) continue;
    const std::string limit = "the line speed there is " + std::to_string(line_speed) + " km/h";
    if (slowdown.l > 0 && slowdown.l <= line_speed) {
      warn_at(context, reader, slowdown.speed_site, "swapped-slowdown",
              slowdown_at(slowdown) + ": speed " + std::to_string(slowdown.v) + " km/h and length " +
                  metres(slowdown.l) + " look swapped (" + limit +
                  "); the record reads start, speed, length");
    } else {
      warn_at(context, reader, slowdown.speed_site, "fast-slowdown",
              slowdown_at(slowdown) + " allows " + std::to_string(slowdown.v) + " km/h, but " + limit +
                  ": it slows nothing");
    }
  }
}

void warn_time_order(Record& record, int32_t row, FieldSite hour) {
  const Entry& station = record.model.entries[static_cast<size_t>(row)];
  if (station.long4 == 0) return;
  ReaderState& state = record.state;
  const int32_t previous_row = state.last_timed_station;
  state.last_timed_station = row;
  const FieldSite previous_site = std::exchange(state.last_timed_site, hour);
  if (previous_row <= 0 || previous_row >= row) return;
  const Entry& previous = record.model.entries[static_cast<size_t>(previous_row)];
  const int64_t back = int64_t{previous.long4} - station.long4;
  if (back <= 0 || back > kHalfDay) return;
  warn(record, hour, "time-backwards",
       "station " + quoted(station.text) + " is timed " + time_of_day_text(station.long4) + ", before " +
           time_of_day_text(previous.long4) + " at " + quoted(previous.text) + " on line " +
           std::to_string(previous_site.line) + ", the station before it on the route");
}

void warn_displaced(Record& record, FieldSite position, const Entry& station, int64_t stop) {
  const Cell& cell = cell_at(record.model, stop);
  if (is_free(cell)) return;
  const bool board = cell.kind == kSpeedBoard || cell.kind == kTextBoard;
  warn(record, position, "displaced-object",
       "the stop mark of station " + quoted(station.text) + " goes into cell " + std::to_string(stop) + " (" +
           metres(stop * kCellLength) + " to " + metres((stop + 1) * kCellLength) + ") and replaces " +
           object_in(cell) + ", which is lost: " +
           (board ? "move the station or the board"
                  : "write the stations before the other records, and such a clash is refused instead"));
}

}  // namespace scenario
