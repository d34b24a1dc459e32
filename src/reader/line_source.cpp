#include "reader/line_source.h"

#include <array>
#include <string>
#include <string_view>

#include "model/numeric.h"
#include "model/run_failure.h"
#include "model/trace_walk.h"
#include "model/windows1252.h"
#include "reader/boards.h"
#include "reader/error_site.h"
#include "reader/gradients_tunnels.h"
#include "reader/plan_trace.h"
#include "reader/progressive_systems.h"
#include "reader/record_loop.h"
#include "reader/warnings.h"

namespace scenario {
namespace {

// Signal repetition positions lie on cell boundaries.
constexpr int32_t kRepetitionGrid = 50;
constexpr int32_t kFourCodes = 4;
constexpr int32_t kNineCodes = 9;
// The general section drops up to ten comment tokens in a row and tests the
// next token without looking for the end of the source in between.
constexpr CommentRule kGeneralComments{10, false};

void set_up_sizes(RouteModel& model, int32_t length) {
  model.extended_length = narrow<int32_t>(int64_t{length} + kRunOut);
  model.last_cell = narrow<int32_t>(round_half_even(model.extended_length / double{kCellLength}));
  if (model.last_cell < 0) {
    throw RunFailure("route length " + std::to_string(length) + " m leaves no cell");
  }
  model.cells.assign(static_cast<size_t>(model.last_cell) + 1, Cell{});
  if (model.write_trace != 0) create_trace(model);
}

Flow read_length(Record& record) {
  const Number length = read_sited(record);
  record.model.entries[kTotalsRow].long2 = length.value;
  if (length.value > kMaxRouteLength) {
    refuse_at(record.model, record.reader, length.site, kRouteTooLong,
              "route length " + std::to_string(length.value) + " m is longer than the " +
                  std::to_string(kMaxRouteLength) + " m a route may have");
    return Flow::kStop;
  }
  set_up_sizes(record.model, length.value);
  record.state.length_read = true;
  return Flow::kNext;
}

Flow read_progressive(Record& record, int row) {
  Entry& entry = record.model.entries[static_cast<size_t>(row)];
  const Number start = read_sited(record);
  const Number offset = read_sited(record);
  entry.long1 = start.value;
  entry.long2 = offset.value;
  entry.long3 = record.reader.read_number();
  record.state.progressive_origins[static_cast<size_t>(row - kProgressiveTreRow)] = {
      start.value, site_of(record.reader, start.site), offset.site.column};
  return Flow::kNext;
}

Flow read_background(Record& record, int32_t Entry::*field) {
  record.model.entries[kScenarioRow].*field = record.reader.read_number();
  return Flow::kNext;
}

bool repetition_on_grid(Record& record, ErrorCode code, std::string_view which, const Number& position) {
  if (position.value % kRepetitionGrid == 0) return true;
  refuse_at(record.model, record.reader, position.site, code,
            "signal repetition: " + std::string(which) + " position " + std::to_string(position.value) +
                " m is not a multiple of " + std::to_string(kRepetitionGrid) + " m");
  return false;
}

// The keyword names the number of cab-signal codes, 4 or 9; a repetition that
// ends at 0 m has none.
Flow read_signal_repetition(Record& record) {
  Entry& row = record.model.entries[kTrainRow];
  const Number first = read_sited(record);
  row.long1 = first.value;
  const Number second = read_sited(record);
  row.long2 = second.value;
  if (!repetition_on_grid(record, kFirstRepetitionOffGrid, "first", first) ||
      !repetition_on_grid(record, kSecondRepetitionOffGrid, "second", second)) {
    return Flow::kStop;
  }
  int32_t codes = 0;
  if (record.token.has_any_case("4")) {
    codes = kFourCodes;
  } else if (record.token.has_any_case("9")) {
    codes = kNineCodes;
  } else {
    refuse_at(record.model, record.reader, record.keyword, kNoCodeCount,
              "signal repetition: keyword " + quoted(record.token.text()) + " names neither 4 nor 9 codes");
    return Flow::kStop;
  }
  row.long3 = row.long2 == 0 ? 0 : codes;
  return Flow::kNext;
}

// The rows of the general section, in the order of their tests. Note the
// crossed backgrounds: "sfondo tre" goes to long2.
constexpr std::array kGeneralRows = {
    KeywordTest{"lunghezza", "percorso", KeywordTest::kAnyCase, read_length, {"route length", 1}},
    KeywordTest{"progressiva", "tre", KeywordTest::kExact,
                [](Record& record) { return read_progressive(record, kProgressiveTreRow); },
                {"progressive system", 3}},
    KeywordTest{"progressiva", "due", KeywordTest::kExact,
                [](Record& record) { return read_progressive(record, kProgressiveDueRow); },
                {"progressive system", 3}},
    KeywordTest{"progressiva", "uno", KeywordTest::kExact,
                [](Record& record) { return read_progressive(record, kProgressiveUnoRow); },
                {"progressive system", 3}},
    KeywordTest{"sfondo", "uno", KeywordTest::kExact,
                [](Record& record) { return read_background(record, &Entry::long1); }, {"background", 1}},
    KeywordTest{"sfondo", "due", KeywordTest::kExact,
                [](Record& record) { return read_background(record, &Entry::long3); }, {"background", 1}},
    KeywordTest{"sfondo", "tre", KeywordTest::kExact,
                [](Record& record) { return read_background(record, &Entry::long2); }, {"background", 1}},
    KeywordTest{"ripetizione", "segnali", KeywordTest::kExact, read_signal_repetition, {"signal repetition", 2}},
};

// A heading such as "[curve]" ends the section, unless it is commented out.
bool ends_general_section(const Token& token) {
  const std::string& text = token.text();
  const size_t first = text.find_first_not_of(" \t");
  const bool commented = first != std::string::npos && text[first] == '-';
  return token.has_any_case("[") && token.has_any_case("]") && !commented;
}

// The heading that ends the section is a row too: its keywords are tested
// first.
Flow read_general_row(Record& record) {
  const Flow flow = read_keywords(record, kGeneralRows);
  if (flow != Flow::kNext) return flow;
  return ends_general_section(record.token) ? Flow::kEnd : Flow::kNext;
}

void start_track_section(RouteModel& model, ReaderState& state) {
  model.tunnel_count = 0;
  state.next_board_slot = kBoardTop;
  state.gradient_fill = 0;
  if (model.write_trace != 0) seed_trace(model, state);
}

Flow read_gradient(Record& record) {
  const Number p = read_sited(record);
  const Number g = read_sited(record);
  if (!passes_position_check(record, "gradient", p)) return Flow::kEnd;
  const int64_t cell = round_half_even(p.value / double{kCellLength});
  warn_moved_to_cell(record, "gradient", p, cell, 0);
  if (record.state.gradient_site.line > 0 && cell <= record.state.gradient_fill) {
    warn(record, p.site, "fill-not-past",
         "gradient at " + std::to_string(p.value) + " m is not past the previous one: the cells fill on from cell " +
             std::to_string(record.state.gradient_fill) + ", never back");
  }
  apply_gradient(record.model, record.state, p.value, g.value);
  record.state.gradient_site = g.site;
  return Flow::kNext;
}

// Without a trace a curve's numbers are left unread: they come back as
// tokens that match nothing.
Flow read_curve(Record& record) {
  if (record.model.write_trace == 0) return Flow::kNext;
  const Number start = read_sited(record);
  const int32_t length = record.reader.read_number();
  if (!passes_position_check(record, "curve", start)) return Flow::kEnd;
  const int64_t previous_end = record.state.trace_position - 1;
  if (record.state.trace_position > kFirstComputedPoint && start.value < previous_end) {
    warn(record, start.site, "overlapping-curves",
         "curve at " + std::to_string(start.value) + " m begins before the previous curve ends at " +
             std::to_string(previous_end) + " m: the overlap keeps the previous bend");
  }
  const Flow flow = run_handler(
      record.model, [&] { apply_curve(record.model, record.state, record.token.text(), start.value, length); });
  // The keyword is at fault for a missing class digit and a trace too long.
  return point_at(record, record.model.error_code == kTraceError ? record.keyword : start.site, flow);
}

Flow read_tunnel(Record& record) {
  const Number inizio = read_sited(record);
  const Number end = read_sited(record);
  const int32_t fine = end.value;
  const int32_t tipo = record.reader.read_number();
  if (!passes_position_check(record, "tunnel", inizio)) return Flow::kEnd;
  if (fine < inizio.value) {
    warn(record, end.site, "reversed-tunnel",
         "tunnel from " + std::to_string(inizio.value) + " m ends at " + std::to_string(fine) +
             " m, before it begins: it covers no cell");
  }
  const Flow flow = run_handler(record.model, [&] { memo_montagna(record.model, inizio.value, fine, tipo); });
  return point_at(record, inizio.site, flow);
}

Flow read_speed_board(Record& record) {
  const Number posizione = read_sited(record);
  SpeedBoard board{.posizione = posizione.value};
  for (int32_t* field : {&board.vas, &board.vbs, &board.vcs, &board.strisces, &board.vad, &board.vbd,
                         &board.vcd, &board.strisced}) {
    *field = record.reader.read_number();
  }
  if (!passes_position_check(record, "speed board", posizione)) return Flow::kEnd;
  warn_placement(record, "speed board", posizione, board_cell(posizione.value));
  const Flow flow = run_handler(record.model, [&] { memo_indicatori_v_max(record.model, board); });
  return point_at(record, posizione.site, flow);
}

// The board text replaces the keyword as the latest token.
Flow read_text_board(Record& record) {
  const Number posizione = read_sited(record);
  read_token(record.model, record.reader);
  const FieldSite text = record.reader.site();
  if (!passes_position_check(record, "indication board", posizione)) return Flow::kEnd;
  warn_placement(record, "indication board", posizione, board_cell(posizione.value));
  if (!record.reader.at_line_start() && !record.reader.at_end()) {
    warn(record, text, "text-cut",
         "the board text " + quoted(record.model.text_buffer) + " ends at a comma: the rest of the line is not part of it");
  }
  warn_utf8_text(record, text, "board text", record.model.text_buffer);
  const int32_t slot = record.state.next_board_slot;
  const Flow flow = run_handler(
      record.model, [&] { place_text_board(record.model, record.state, posizione.value, record.model.text_buffer); });
  if (record.state.next_board_slot != slot) note_text(record, slot, text);
  return point_at(record, posizione.site, flow);
}

// The five track record kinds, in the order of their tests.
constexpr std::array kTrackRecords = {
    KeywordTest{"pendenza", "", KeywordTest::kAnyCase, read_gradient, {"gradient", 2}},
    KeywordTest{"curva", "", KeywordTest::kAnyCase, read_curve, {"curve", 2}},
    KeywordTest{"montagna", "", KeywordTest::kAnyCase, read_tunnel, {"tunnel", 3}},
    KeywordTest{"indicatori_v", "", KeywordTest::kAnyCase, read_speed_board, {"speed board", 9}},
    KeywordTest{"indicat", "cartello", KeywordTest::kAnyCase, read_text_board, {"indication board", 2, "fields"}},
};

Flow read_track_record(Record& record) { return read_keywords(record, kTrackRecords); }

// The general section ends after its first heading; the line source has
// no "[generale]" when the heading is its last field.
Flow read_general_section(RouteModel& model, FieldReader& reader, ReaderState& state) {
  if (!find_general_heading(model, reader) || reader.at_end()) {
    refuse_at(model, reader, reader.site(), kNoGeneralHeading,
              "the file ends before a field holding the heading \"[generale]\"");
    return Flow::kStop;
  }
  return read_records(model, reader, state, Source::kLine, kGeneralComments, read_general_row);
}

}  // namespace

LineOutcome read_line_source(RouteModel& model, FieldReader& reader, ReaderState& state) {
  if (read_general_section(model, reader, state) == Flow::kStop) return LineOutcome::kStop;
  progressive_ordina(model);
  // Without a length there is no grid and no trace for the track records.
  // A recovering reading that refused the length row says no more.
  if (!state.length_read && model.notes.recover && has_noted_error(model.notes)) return LineOutcome::kStop;
  if (!state.length_read) throw RunFailure("the general section has no route length row (\"lunghezza percorso\")");
  start_track_section(model, state);
  if (read_records(model, reader, state, Source::kLine, kRecordComments, read_track_record) == Flow::kStop) {
    return LineOutcome::kStop;
  }
  run_end_step(model, reader, final_gradient_fill, state);
  if (model.write_trace != 0 && run_handler(model, [&] { extend_trace(model, state); }) != Flow::kNext) {
    // The route is too long for the trace; no record is at fault.
    mark_site(model, reader, FieldSite{});
    return LineOutcome::kStop;
  }
  return LineOutcome::kTrainFollows;
}

}  // namespace scenario
