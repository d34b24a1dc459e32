#include "reader/line_source.h"

#include <string>
#include <string_view>

#include "model/ascii_case.h"
#include "model/numeric.h"
#include "model/run_failure.h"
#include "reader/boards.h"
#include "reader/error_site.h"
#include "reader/gradients_tunnels.h"
#include "reader/plan_trace.h"
#include "reader/progressive_systems.h"
#include "reader/refuse.h"

namespace scenario {
namespace {

constexpr int32_t kMaxRouteLength = 1000000;
// Signal repetition positions lie on cell boundaries.
constexpr int32_t kRepetitionGrid = 50;
constexpr int32_t kFourCodes = 4;
constexpr int32_t kNineCodes = 9;
// Comment tokens dropped in a row before a token is tested.
constexpr int kGeneralComments = 10;
constexpr int kTrackComments = 2;
// A track record needs (p + 100) / 50 <= last_cell.
constexpr int64_t kPositionMargin = 100;

// How the reading goes on after a record.
enum class Next { kGoOn, kEndOfSource, kStop };

// Keyword tests look for a word anywhere in the token; the format fixes for
// each word whether letter case counts.
class Token {
 public:
  explicit Token(std::string text) : text_(std::move(text)), lower_(ascii_lower(text_)) {}
  const std::string& text() const { return text_; }
  bool has(std::string_view word) const { return text_.find(word) != std::string::npos; }
  // word in lower case.
  bool has_any_case(std::string_view word) const { return lower_.find(word) != std::string::npos; }

 private:
  std::string text_;
  std::string lower_;
};

bool is_comment(const std::string& token) { return token.find('-') != std::string::npos; }

void next_token(RouteModel& model, FieldReader& reader) { model.text_buffer = reader.read_text(); }

// A refusal points at the record's keyword line and at the field at fault
// when that field stands on the same line.
FieldSite fault_site(FieldSite keyword, FieldSite field) { return field.line == keyword.line ? field : keyword; }

// Everything before the heading, a free comment line among it, is skipped.
bool find_general_heading(RouteModel& model, FieldReader& reader) {
  for (;;) {
    next_token(model, reader);
    if (reader.at_end()) {
      refuse_at(model, reader, reader.site(), kNoGeneralHeading,
                "the file ends before a field holding the heading \"[generale]\"");
      return false;
    }
    if (Token(model.text_buffer).has_any_case("[generale]")) return true;
  }
}

void set_up_sizes(RouteModel& model, int32_t length) {
  model.extended_length = narrow<int32_t>(int64_t{length} + kRunOut);
  model.last_cell = narrow<int32_t>(round_half_even(model.extended_length / double{kCellLength}));
  if (model.last_cell < 0) {
    throw RunFailure("route length " + std::to_string(length) + " m leaves no cell");
  }
  model.cells.assign(static_cast<size_t>(model.last_cell) + 1, Cell{});
  if (model.write_trace != 0) create_trace(model);
}

bool read_length(RouteModel& model, FieldReader& reader, FieldSite keyword) {
  const int32_t length = reader.read_number();
  model.entries[kTotalsRow].long2 = length;
  if (length > kMaxRouteLength) {
    refuse_at(model, reader, fault_site(keyword, reader.site()), kRouteTooLong,
              "route length " + std::to_string(length) + " m is longer than the " +
                  std::to_string(kMaxRouteLength) + " m a route may have");
    return false;
  }
  set_up_sizes(model, length);
  return true;
}

void read_progressive(RouteModel& model, FieldReader& reader, int row) {
  Entry& entry = model.entries[static_cast<size_t>(row)];
  entry.long1 = reader.read_number();
  entry.long2 = reader.read_number();
  entry.long3 = reader.read_number();
}

bool repetition_on_grid(RouteModel& model, const FieldReader& reader, FieldSite site, ErrorCode code,
                        std::string_view which, int32_t position) {
  if (position % kRepetitionGrid == 0) return true;
  refuse_at(model, reader, site, code,
            "signal repetition: " + std::string(which) + " position " + std::to_string(position) +
                " m is not a multiple of " + std::to_string(kRepetitionGrid) + " m");
  return false;
}

// The keyword names the number of cab-signal codes, 4 or 9; a repetition that
// ends at 0 m has none.
bool read_signal_repetition(RouteModel& model, FieldReader& reader, const Token& token, FieldSite keyword) {
  Entry& row = model.entries[kTrainRow];
  row.long1 = reader.read_number();
  const FieldSite first = fault_site(keyword, reader.site());
  row.long2 = reader.read_number();
  const FieldSite second = fault_site(keyword, reader.site());
  if (!repetition_on_grid(model, reader, first, kFirstRepetitionOffGrid, "first", row.long1) ||
      !repetition_on_grid(model, reader, second, kSecondRepetitionOffGrid, "second", row.long2)) {
    return false;
  }
  int32_t codes = 0;
  if (token.has_any_case("4")) {
    codes = kFourCodes;
  } else if (token.has_any_case("9")) {
    codes = kNineCodes;
  } else {
    refuse_at(model, reader, keyword, kNoCodeCount,
              "signal repetition: keyword \"" + token.text() + "\" names neither 4 nor 9 codes");
    return false;
  }
  row.long3 = row.long2 == 0 ? 0 : codes;
  return true;
}

// One token may match several rows; each reads its own numbers, in this
// order. Note the crossed backgrounds: "sfondo tre" goes to long2.
bool read_general_row(RouteModel& model, FieldReader& reader, const Token& token, bool& length_read) {
  const FieldSite keyword = reader.site();
  if (token.has_any_case("lunghezza") && token.has_any_case("percorso")) {
    if (!read_length(model, reader, keyword)) return false;
    length_read = true;
  }
  if (token.has("progressiva") && token.has("tre")) read_progressive(model, reader, kProgressiveTreRow);
  if (token.has("progressiva") && token.has("due")) read_progressive(model, reader, kProgressiveDueRow);
  if (token.has("progressiva") && token.has("uno")) read_progressive(model, reader, kProgressiveUnoRow);
  Entry& scenario = model.entries[kScenarioRow];
  if (token.has("sfondo") && token.has("uno")) scenario.long1 = reader.read_number();
  if (token.has("sfondo") && token.has("due")) scenario.long3 = reader.read_number();
  if (token.has("sfondo") && token.has("tre")) scenario.long2 = reader.read_number();
  if (token.has("ripetizione") && token.has("segnali")) {
    return read_signal_repetition(model, reader, token, keyword);
  }
  return true;
}

// A heading such as "[curve]" ends the section, unless it is commented out.
bool ends_general_section(const Token& token) {
  const std::string& text = token.text();
  const size_t first = text.find_first_not_of(" \t");
  const bool commented = first != std::string::npos && text[first] == '-';
  return token.has_any_case("[") && token.has_any_case("]") && !commented;
}

// Returns false when a row was refused.
bool read_general_section(RouteModel& model, FieldReader& reader, bool& length_read) {
  for (;;) {
    if (reader.at_end()) return true;
    next_token(model, reader);
    // The last field of the file is never a row.
    if (reader.at_end()) return true;
    for (int i = 0; i < kGeneralComments && is_comment(model.text_buffer); ++i) next_token(model, reader);
    const Token token(model.text_buffer);
    if (!read_general_row(model, reader, token, length_read)) return false;
    if (ends_general_section(token)) return true;
  }
}

void start_track_section(RouteModel& model, ReaderState& state) {
  model.tunnel_count = 0;
  state.next_board_slot = kBoardTop;
  state.gradient_fill = 0;
  if (model.write_trace != 0) seed_trace(model, state);
}

// Position check: a record must stand at least 100 m before the end of the
// grid. One beyond ends the line source as if the file ended there.
bool within_route(RouteModel& model, const FieldReader& reader, FieldSite site, std::string_view record,
                  int32_t p) {
  if (int64_t{p} + kPositionMargin <= int64_t{kCellLength} * model.last_cell) return true;
  refuse_at(model, reader, site, kPositionError,
            std::string(record) + " at " + std::to_string(p) + " m lies beyond the route: records stand up to " +
                std::to_string(int64_t{kCellLength} * model.last_cell - kPositionMargin) + " m (last cell " +
                std::to_string(model.last_cell) + ")");
  return false;
}

// After a handler: a refusal with 15 ends the line source like its end,
// any other stops the reading.
Next settle(RouteModel& model, const FieldReader& reader, FieldSite site) {
  if (model.error_code <= 0) return Next::kGoOn;
  mark_site(model, reader, site);
  return model.error_code == kPositionError ? Next::kEndOfSource : Next::kStop;
}

Next gradient_record(RouteModel& model, FieldReader& reader, ReaderState& state, FieldSite keyword) {
  const int32_t p = reader.read_number();
  const FieldSite position = fault_site(keyword, reader.site());
  const int32_t g = reader.read_number();
  if (!within_route(model, reader, position, "gradient", p)) return Next::kEndOfSource;
  apply_gradient(model, state, p, g);
  return Next::kGoOn;
}

Next curve_record(RouteModel& model, FieldReader& reader, ReaderState& state, const Token& token,
                  FieldSite keyword) {
  const int32_t start = reader.read_number();
  const FieldSite position = fault_site(keyword, reader.site());
  const int32_t length = reader.read_number();
  if (!within_route(model, reader, position, "curve", start)) return Next::kEndOfSource;
  apply_curve(model, state, token.text(), start, length);
  return settle(model, reader, model.error_code == kTraceError ? keyword : position);
}

Next tunnel_record(RouteModel& model, FieldReader& reader, FieldSite keyword) {
  const int32_t inizio = reader.read_number();
  const FieldSite position = fault_site(keyword, reader.site());
  const int32_t fine = reader.read_number();
  const int32_t tipo = reader.read_number();
  if (!within_route(model, reader, position, "tunnel", inizio)) return Next::kEndOfSource;
  memo_montagna(model, inizio, fine, tipo);
  return settle(model, reader, position);
}

Next speed_board_record(RouteModel& model, FieldReader& reader, FieldSite keyword) {
  SpeedBoard board;
  board.posizione = reader.read_number();
  const FieldSite position = fault_site(keyword, reader.site());
  for (int32_t* field : {&board.vas, &board.vbs, &board.vcs, &board.strisces, &board.vad, &board.vbd,
                         &board.vcd, &board.strisced}) {
    *field = reader.read_number();
  }
  if (!within_route(model, reader, position, "speed board", board.posizione)) return Next::kEndOfSource;
  memo_indicatori_v_max(model, board);
  return settle(model, reader, position);
}

// The board text replaces the keyword as the latest token.
Next text_board_record(RouteModel& model, FieldReader& reader, ReaderState& state, FieldSite keyword) {
  const int32_t posizione = reader.read_number();
  const FieldSite position = fault_site(keyword, reader.site());
  next_token(model, reader);
  if (!within_route(model, reader, position, "indication board", posizione)) return Next::kEndOfSource;
  place_text_board(model, state, posizione, model.text_buffer);
  return settle(model, reader, position);
}

// The five record kinds, each test independent of the others; a record that
// ends the reading skips the tests after it. Curve numbers are left unread
// without a trace: they come back as tokens that match nothing.
Next read_track_record(RouteModel& model, FieldReader& reader, ReaderState& state) {
  const Token token(model.text_buffer);
  const FieldSite keyword = reader.site();
  Next next = Next::kGoOn;
  if (token.has_any_case("pendenza")) next = gradient_record(model, reader, state, keyword);
  if (next == Next::kGoOn && token.has_any_case("curva") && model.write_trace != 0) {
    next = curve_record(model, reader, state, token, keyword);
  }
  if (next == Next::kGoOn && token.has_any_case("montagna")) next = tunnel_record(model, reader, keyword);
  if (next == Next::kGoOn && token.has_any_case("indicatori_v")) next = speed_board_record(model, reader, keyword);
  if (next == Next::kGoOn && token.has_any_case("indicat") && token.has_any_case("cartello")) {
    next = text_board_record(model, reader, state, keyword);
  }
  return next;
}

Next read_track_section(RouteModel& model, FieldReader& reader, ReaderState& state) {
  for (;;) {
    if (reader.at_end()) return Next::kEndOfSource;
    next_token(model, reader);
    // The last field of the file ("[fine]") is never a record.
    if (reader.at_end()) return Next::kEndOfSource;
    for (int i = 0; i < kTrackComments && is_comment(model.text_buffer); ++i) {
      next_token(model, reader);
      if (reader.at_end()) return Next::kEndOfSource;
    }
    const Next next = read_track_record(model, reader, state);
    if (next != Next::kGoOn) return next;
  }
}

}  // namespace

LineOutcome read_line_source(RouteModel& model, FieldReader& reader, ReaderState& state) {
  if (!find_general_heading(model, reader)) return LineOutcome::kStop;
  bool length_read = false;
  if (!read_general_section(model, reader, length_read)) return LineOutcome::kStop;
  progressive_ordina(model);
  // Without a length there is no grid and no trace for the track records.
  if (!length_read) throw RunFailure("the general section has no route length row (\"lunghezza percorso\")");
  start_track_section(model, state);
  if (read_track_section(model, reader, state) == Next::kStop) return LineOutcome::kStop;
  final_gradient_fill(model, state);
  if (model.write_trace != 0) {
    extend_trace(model, state);
    // The route is too long for the trace; no record is at fault.
    if (model.error_code == kTraceError) {
      mark_site(model, reader, FieldSite{});
      return LineOutcome::kStop;
    }
  }
  return LineOutcome::kTrainFollows;
}

}  // namespace scenario
