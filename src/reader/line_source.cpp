#include "reader/line_source.h"

#include <array>
#include <string>
#include <string_view>

#include "model/numeric.h"
#include "model/run_failure.h"
#include "model/trace_walk.h"
#include "model/windows1252.h"
#include "reader/boards.h"
#include "reader/gradients_tunnels.h"
#include "reader/out_of_range.h"
#include "reader/plan_trace.h"
#include "reader/progressive_systems.h"
#include "reader/record_loop.h"
#include "reader/sense_warnings.h"
#include "reader/warnings.h"

namespace scenario {
namespace {

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

Outcome read_length(Record& record) {
  const Number length = read_sited(record);
  record.model.entries[kTotalsRow].long2 = length.value;
  if (length.value > kMaxRouteLength) {
    return refused(record, length.site, kRouteTooLong,
                   "route length " + std::to_string(length.value) + " m is longer than the " +
                       std::to_string(kMaxRouteLength) + " m a route may have");
  }
  set_up_sizes(record.model, length.value);
  record.state.length_read = true;
  record.state.route_length_row =
      site_of(record.reader, length.site, "the route length is set here to " + std::to_string(length.value) + " m");
  warn_repeated_row(record);
  return {};
}

Outcome read_progressive(Record& record, int row) {
  Entry& entry = record.model.entries[static_cast<size_t>(row)];
  const Number start = read_sited(record);
  const Number offset = read_sited(record);
  entry.long1 = start.value;
  entry.long2 = offset.value;
  entry.long3 = record.reader.read_number();
  record.state.progressive_origins[static_cast<size_t>(row - kProgressiveTreRow)] = {
      get_progressive_system(entry), site_of(record.reader, start.site), site_of(record.reader, offset.site)};
  warn_repeated_row(record);
  return {};
}

Outcome read_background(Record& record, int32_t Entry::*field) {
  record.model.entries[kScenarioRow].*field = record.reader.read_number();
  warn_repeated_row(record);
  return {};
}

std::optional<Outcome> off_grid(Record& record, ErrorCode code, std::string_view which, const Number& position) {
  // Signal repetition positions lie on cell boundaries.
  if (position.value % kCellLength == 0) return std::nullopt;
  return refused(record, position.site, code,
                 "signal repetition: " + std::string(which) + " position " + std::to_string(position.value) +
                     " m is not a multiple of " + std::to_string(kCellLength) + " m");
}

// The keyword names the number of cab-signal codes, 4 or 9; a repetition that
// ends at 0 m has none.
Outcome read_signal_repetition(Record& record) {
  Entry& row = record.model.entries[kTrainRow];
  const Number first = read_sited(record);
  row.long1 = first.value;
  const Number second = read_sited(record);
  row.long2 = second.value;
  if (auto refusal = off_grid(record, kFirstRepetitionOffGrid, "first", first)) return *refusal;
  if (auto refusal = off_grid(record, kSecondRepetitionOffGrid, "second", second)) return *refusal;
  int32_t codes = 0;
  if (record.token.has_any_case("4")) {
    codes = kFourCodes;
  } else if (record.token.has_any_case("9")) {
    codes = kNineCodes;
  } else {
    return refused(record, record.keyword, kNoCodeCount,
                   "signal repetition: keyword " + quoted(record.token.text()) + " names neither 4 nor 9 codes");
  }
  row.long3 = row.long2 == 0 ? 0 : codes;
  warn_repeated_row(record);
  return {};
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
static_assert(kGeneralRows.size() <= kMostRecordKinds);

// A heading such as "[curve]" ends the section, unless it is commented out.
bool ends_general_section(const Token& token) {
  const std::string& text = token.text();
  const size_t first = text.find_first_not_of(" \t");
  const bool commented = first != std::string::npos && text[first] == '-';
  return token.has_any_case("[") && token.has_any_case("]") && !commented;
}

// The heading that ends the section is a row too: its keywords are tested
// first.
Outcome read_general_row(Record& record) {
  Outcome outcome = read_keywords(record, kGeneralRows);
  if (outcome.flow != Flow::kNext) return outcome;
  return {ends_general_section(record.token) ? Flow::kEnd : Flow::kNext, std::nullopt};
}

void start_track_section(RouteModel& model, ReaderState& state) {
  model.tunnel_count = 0;
  state.next_board_slot = kBoardTop;
  state.gradient_fill = 0;
  if (model.write_trace != 0) seed_trace(model, state);
}

Outcome read_gradient(Record& record) {
  const Number p = read_sited(record);
  const Number g = read_sited(record);
  if (auto beyond = beyond_grid(record, "gradient", p)) return *beyond;
  const int64_t cell = round_half_even(p.value / double{kCellLength});
  warn_moved_to_cell(record, "gradient", p, cell, 0);
  if (record.state.gradient_site.line > 0 && cell <= record.state.gradient_fill) {
    warn(record, p.site, "fill-not-past",
         "gradient at " + std::to_string(p.value) + " m is not past the previous one: the cells fill on from cell " +
             std::to_string(record.state.gradient_fill) + ", never back");
  }
  apply_gradient(record.model, record.state, p.value, g.value);
  record.state.gradient_site = g.site;
  return {};
}

// Without a trace a curve's numbers are left unread: they come back as
// tokens that match nothing.
Outcome read_curve(Record& record) {
  if (record.model.write_trace == 0) return {};
  const Number start = read_sited(record);
  const Number length = read_sited(record);
  if (auto beyond = beyond_grid(record, "curve", start)) return *beyond;
  const int64_t previous_end = record.state.trace_position - 1;
  if (record.state.trace_position > kFirstComputedPoint && start.value < previous_end) {
    warn(record, start.site, "overlapping-curves",
         "curve at " + std::to_string(start.value) + " m begins before the previous curve ends at " +
             std::to_string(previous_end) + " m: the overlap keeps the previous bend");
  }
  Verdict verdict = apply_curve(record.model, record.state, record.token.text(), start.value, length.value);
  if (!verdict) warn_curve(record, start, length);
  // The keyword is at fault for a missing class digit and a trace too long.
  const bool keyword_at_fault = verdict && verdict->code == kTraceError;
  return placed(record, keyword_at_fault ? record.keyword : start.site, std::move(verdict));
}

Outcome read_tunnel(Record& record) {
  std::array<Number, 3> numbers;
  for (Number& number : numbers) number = read_sited(record);
  const auto& [inizio, end, kind] = numbers;
  const int32_t fine = end.value;
  const int32_t tipo = kind.value;
  if (auto beyond = beyond_grid(record, "tunnel", inizio)) return *beyond;
  if (fine < inizio.value) {
    warn(record, end.site, "reversed-tunnel",
         "tunnel from " + std::to_string(inizio.value) + " m ends at " + std::to_string(fine) +
             " m, before it begins: it covers no cell");
  }
  const bool kind_replaced = follows_closely(record.model, inizio.value);
  Verdict verdict = memo_montagna(record.model, inizio.value, fine, tipo);
  // One warning for the kind: a value out of its range is said as such, one
  // in its range that leaves no tunnel as an open-air tunnel.
  if (!verdict && !(!kind_replaced && warn_tunnel_out_of_range(record, numbers))) {
    warn_open_air_tunnel(record, inizio.value, fine, kind);
  }
  return placed(record, inizio.site, std::move(verdict));
}

Outcome read_speed_board(Record& record) {
  std::array<Number, 9> numbers;
  for (Number& number : numbers) number = read_sited(record);
  const Number& posizione = numbers[0];
  SpeedBoard board{.posizione = posizione.value};
  size_t next = 1;
  for (int32_t* field : {&board.vas, &board.vbs, &board.vcs, &board.strisces, &board.vad, &board.vbd,
                         &board.vcd, &board.strisced}) {
    *field = numbers[next++].value;
  }
  if (auto beyond = beyond_grid(record, "speed board", posizione)) return *beyond;
  warn_placement(record, "speed board", posizione, board_cell(posizione.value));
  Verdict verdict = memo_indicatori_v_max(record.model, board);
  if (!verdict) {
    warn_speed_board_out_of_range(record, numbers);
    note_placement(record, board_cell(posizione.value), "speed board", posizione);
  }
  return placed(record, posizione.site, std::move(verdict));
}

// The board text replaces the keyword as the latest token.
Outcome read_text_board(Record& record) {
  const Number posizione = read_sited(record);
  read_token(record.context, record.reader);
  const std::string board_text(record.context.text_buffer);
  const FieldSite text = record.reader.site();
  if (auto beyond = beyond_grid(record, "indication board", posizione)) return *beyond;
  warn_placement(record, "indication board", posizione, board_cell(posizione.value));
  warn_text_cut(record, text, "board text", board_text);
  warn_utf8_text(record, text, "board text", board_text);
  const int32_t slot = record.state.next_board_slot;
  Verdict verdict = place_text_board(record.model, record.state, posizione.value, board_text);
  if (record.state.next_board_slot != slot) note_text(record, slot, text);
  if (!verdict) note_placement(record, board_cell(posizione.value), "indication board", posizione);
  return placed(record, posizione.site, std::move(verdict));
}

// The five track record kinds, in the order of their tests.
constexpr std::array kTrackRecords = {
    KeywordTest{"pendenza", "", KeywordTest::kAnyCase, read_gradient, {"gradient", 2}},
    KeywordTest{"curva", "", KeywordTest::kAnyCase, read_curve, {"curve", 2}},
    KeywordTest{"montagna", "", KeywordTest::kAnyCase, read_tunnel, {"tunnel", 3}},
    KeywordTest{"indicatori_v", "", KeywordTest::kAnyCase, read_speed_board, {"speed board", 9}},
    KeywordTest{"indicat", "cartello", KeywordTest::kAnyCase, read_text_board, {"indication board", 2, "fields", true}},
};
static_assert(kTrackRecords.size() <= kMostRecordKinds);

Outcome read_track_record(Record& record) { return read_keywords(record, kTrackRecords); }

// The general section ends after its first heading; the line source has
// no "[generale]" when the heading is its last field.
Flow read_general_section(RouteModel& model, FieldReader& reader, ReaderContext& context) {
  if (!find_general_heading(context, reader) || reader.at_end()) {
    return settle(context, model,
                  refusal_at(reader, reader.site(), kNoGeneralHeading,
                             "the file ends before a field holding the heading \"[generale]\""));
  }
  return read_records(model, reader, context, Source::kLine, kGeneralComments, read_general_row);
}

// The route is too long for the trace: no record is at fault.
Flow extend_to_the_end(RouteModel& model, const FieldReader& reader, ReaderContext& context) {
  if (model.write_trace == 0) return Flow::kNext;
  Verdict verdict;
  const Flow flow = run_step(context, model, reader, [&] { verdict = extend_trace(model, context.state); });
  if (!verdict) return flow;
  return settle(context, model, refusal_at(reader, FieldSite{}, verdict->code, std::move(verdict->detail)));
}

}  // namespace

LineOutcome read_line_source(RouteModel& model, FieldReader& reader, ReaderContext& context) {
  if (read_general_section(model, reader, context) == Flow::kStop) return LineOutcome::kStop;
  progressive_ordina(model);
  // Without a length there is no grid and no trace for the track records.
  // A recovering reading that refused the length row says no more.
  if (!context.state.length_read && context.recover && context.log.has_errors()) return LineOutcome::kStop;
  if (!context.state.length_read) {
    throw RunFailure("the general section has no route length row (\"lunghezza percorso\")");
  }
  start_track_section(model, context.state);
  if (read_records(model, reader, context, Source::kLine, kRecordComments, read_track_record) == Flow::kStop) {
    return LineOutcome::kStop;
  }
  const Flow filled = run_step(context, model, reader, [&] { final_gradient_fill(model, context.state); });
  if (strict_stop(context, filled)) return LineOutcome::kStop;
  if (extend_to_the_end(model, reader, context) == Flow::kStop) return LineOutcome::kStop;
  return LineOutcome::kTrainFollows;
}

std::span<const KeywordTest> general_rows() { return kGeneralRows; }
std::span<const KeywordTest> track_records() { return kTrackRecords; }

}  // namespace scenario
