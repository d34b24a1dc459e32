// The schema of the sources against the readers: at each end of a field's
// range a source reads without a word (or with the one warning the value
// itself earns), and one step past it gives what the schema says lies
// outside: the error number, the warning, or nothing for a value stored as
// read. The sources are read by `scenario check`, which also runs the
// compiler's own checks (a route too short for cell 1). Where the range is
// the one a packing or a narrow field stores intact, the value at its end
// reads back from the cells as written and the one past it does not.

#include "reader/source_schema.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "format/scenario_format.h"
#include "inspect/author_units.h"
#include "reader/read_sources.h"
#include "tool/tool_run.h"

namespace scenario {
namespace {

using testing::line_with;
using testing::Outcome;
using testing::scenario_tool;
using testing::TempDir;
using testing::train_with;
using testing::write_sources;

// The route of line_with is 20000 m long: its grid has cells 0 to 540 and
// ends at G = 27000 m.
int64_t grid_end_value(GridEnd end) {
  switch (end) {
    case GridEnd::kTrackMargin:
      return 26900;  // G - 100
    case GridEnd::kStationMargin:
      return 26200;  // G - 800
    case GridEnd::kCurveEnd:
      return 26998;  // start 0 + length up to L + 6998
    case GridEnd::kTunnelEnd:
      return 27075;  // 27075 / 50 - 1 = 540.5, which rounds to the even 540, the last cell
    case GridEnd::kSlowdownEnd:
      return 16975;  // from 10000 m: (26975 / 50 + 1 = 540.5) rounds to 540
    case GridEnd::kNone:
      break;
  }
  return 0;
}

enum class End { kLow, kHigh, kStep };

// A source whose one field is the value under test: "{}" stands for it. The
// general rows bring their whole line source; track records go into
// line_with, train records into train_with.
struct EdgeCase {
  std::string_view keyword;
  std::string_view field;
  End end;
  std::string_view source;
  std::string_view warning_at_end = {};  // a warning the value at the end earns of itself
};

constexpr std::string_view kGeneral = "[generale]\r\n";

std::string filled(std::string_view source, int64_t value) {
  std::string text(source);
  text.replace(text.find("{}"), 2, std::to_string(value));
  return text;
}

struct Sources {
  std::string line;
  std::string train;
};

Sources sources_for(const SchemaRecord& record, std::string_view source, int64_t value) {
  const std::string text = filled(source, value) + "\r\n";
  if (record.section == Section::kGeneral) return {std::string(kGeneral) + text + "[curve]\r\n[fine]\r\n", train_with("")};
  if (record.section == Section::kTrack) return {line_with(text), train_with("")};
  return {line_with(""), train_with(text)};
}

// What check listed, without its closing line (the counts, or what it read).
Outcome listed(Outcome outcome) {
  std::string& err = outcome.err;
  if (!err.empty()) err.erase(err.rfind('\n', err.size() - 2) + 1);
  return outcome;
}

Outcome check(const SchemaRecord& record, std::string_view source, int64_t value) {
  const Sources sources = sources_for(record, source, value);
  TempDir dir;
  write_sources(dir, sources.line, sources.train);
  return listed(scenario_tool({"check", "S", "T"}, dir.path()));
}

// The index of the first cell of kind, which the one record of a source put there.
size_t first_cell_of(const RouteModel& scenario, uint8_t kind) {
  size_t i = 0;
  while (i < scenario.cells.size() && scenario.cells[i].kind != kind) ++i;
  return i;
}

// What the binary files hold for a field that the readers store packed or
// in fewer bits, read back as the author wrote it: through the decoding that
// `scenario inspect` shows, not through the schema. Nothing for the others.
std::optional<int64_t> stored_back(std::string_view keyword, std::string_view field, const RouteModel& scenario) {
  const auto decoded = [&](uint8_t kind, std::string_view name) -> std::optional<int64_t> {
    const nlohmann::ordered_json object = decoded_object(scenario.cells, first_cell_of(scenario, kind));
    return object.at(std::string(name)).get<int64_t>();
  };
  if (keyword == "segnale") return decoded(kSignal, field);
  if (keyword == "indicatori_vmax") return decoded(kSpeedBoard, field);
  if (keyword == "rallentamento") return decoded(kSlowdownStart, field == "v" ? "speed_kmh" : field);
  if (keyword == "stazione" && (field == "minute" || field == "second")) {
    const TimeOfDay time = decode_time_of_day(scenario.entries[kFirstStationRow].long4);
    return field == "minute" ? time.minute : time.second;
  }
  if (keyword == "montagna") {  // the tunnel 1000 to 1400 m: cells 20 to 27, a marker in 23 when asked for
    return scenario.cells[20].tunnel + (scenario.cells[23].kind == kTunnelMarker ? 10 : 0);
  }
  return std::nullopt;
}

// A value at the end of a range that warns is stored intact; one past it is
// not, or there would be nothing to warn of.
void expect_stored(const SchemaRecord& record, const EdgeCase& c, int64_t at_end, int64_t past) {
  ReadOptions options = read_options("S", "T", 1);
  const auto read_back = [&](int64_t value) {
    const Sources sources = sources_for(record, c.source, value);
    return stored_back(c.keyword, c.field, read_sources(sources.line, sources.train, options).scenario);
  };
  const std::optional<int64_t> intact = read_back(at_end);
  if (!intact) return;
  EXPECT_EQ(*intact, at_end) << c.keyword << " " << c.field;
  EXPECT_NE(read_back(past), past) << c.keyword << " " << c.field;
}

// Every diagnostic of the output carries the tag, and there is at least one.
bool all_tagged(const std::string& err, const std::string& tag) {
  bool any = false;
  for (size_t at = 0; (at = err.find(": warning: ", at)) != std::string::npos; ++at) {
    const size_t end = err.find('\n', at);
    if (err.compare(end - tag.size(), tag.size(), tag) != 0) return false;
    any = true;
  }
  return any && err.find(": error") == std::string::npos && err.find("error ") == std::string::npos;
}

// What the schema says a value past this end gives.
void expect_outside(const Outside& outside, int32_t step_error, End end, const Outcome& outcome,
                    const std::string& what) {
  const int32_t error = end == End::kStep ? step_error : outside.error;
  if (error != 0) {
    EXPECT_NE(outcome.err.find("[E" + std::to_string(error) + "]"), std::string::npos) << what << outcome.err;
  } else if (!outside.warning.empty()) {
    EXPECT_TRUE(all_tagged(outcome.err, "[" + std::string(outside.warning) + "]")) << what << outcome.err;
  } else {
    EXPECT_EQ(outcome.err, "") << what;
  }
}

void expect_clean(const EdgeCase& c, const Outcome& outcome, const std::string& what) {
  EXPECT_EQ(outcome.status, 0) << what << outcome.err;
  if (c.warning_at_end.empty()) {
    EXPECT_EQ(outcome.err, "") << what;
  } else {
    EXPECT_TRUE(all_tagged(outcome.err, "[" + std::string(c.warning_at_end) + "]")) << what << outcome.err;
  }
}

// The value at the end and the one just past it; a step case takes 1000 and
// 1000 plus half the step.
void check_edge(const EdgeCase& c) {
  const SchemaRecord* record = schema_record(c.keyword);
  ASSERT_NE(record, nullptr) << c.keyword;
  const SchemaField& field = schema_field(c.keyword, c.field);
  const std::string what = std::string(c.keyword) + " " + std::string(c.field) + ": ";
  int64_t at_end = 1000;
  int64_t past = 1000 + field.multiple_of / 2;
  Outside outside;
  if (c.end == End::kLow) {
    at_end = field.lowest.value;
    past = at_end - 1;
    outside = field.lowest.outside;
  } else if (c.end == End::kHigh) {
    const bool grid = field.grid_end != GridEnd::kNone;
    at_end = grid ? grid_end_value(field.grid_end) : field.highest.value;
    past = at_end + 1;
    outside = grid ? refused_with(kPositionError) : field.highest.outside;
  }
  expect_clean(c, check(*record, c.source, at_end), what + std::to_string(at_end));
  if (!outside.warning.empty()) expect_stored(*record, c, at_end, past);
  expect_outside(outside, field.off_multiple_error, c.end, check(*record, c.source, past),
                 what + std::to_string(past) + "\n");
}

TEST(SourceSchema, EveryRangeIsWhatTheReadersAccept) {
  const EdgeCase cases[] = {
      {"lunghezza percorso", "L", End::kLow, "lunghezza percorso, {}"},
      {"lunghezza percorso", "L", End::kHigh, "lunghezza percorso, {}"},
      {"progressiva chilometrica", "start", End::kStep,
       "lunghezza percorso, 20000\r\nprogressiva chilometrica uno, {}, 1000, 0"},
      {"progressiva chilometrica", "offset", End::kStep,
       "lunghezza percorso, 20000\r\nprogressiva chilometrica uno, 0, {}, 0"},
      {"progressiva chilometrica", "direction", End::kLow,
       "lunghezza percorso, 20000\r\nprogressiva chilometrica uno, 0, 1000, {}"},
      {"progressiva chilometrica", "direction", End::kHigh,
       "lunghezza percorso, 20000\r\nprogressiva chilometrica uno, 0, 1000, {}"},
      {"ripetizione segnali", "first", End::kStep, "lunghezza percorso, 20000\r\nripetizione segnali 4, {}, 2000"},
      {"ripetizione segnali", "second", End::kStep, "lunghezza percorso, 20000\r\nripetizione segnali 9, 0, {}"},
      {"pendenza", "position", End::kHigh, "pendenza, {}, 2"},
      {"pendenza", "gradient", End::kLow, "pendenza, 0, {}"},
      {"pendenza", "gradient", End::kHigh, "pendenza, 0, {}"},
      {"curva", "start", End::kHigh, "curvad4, {}, 50"},
      {"curva", "length", End::kHigh, "curvad4, 0, {}"},
      {"montagna", "inizio", End::kLow, "montagna, {}, 1000, 2"},
      {"montagna", "inizio", End::kHigh, "montagna, {}, 26950, 2"},
      {"montagna", "fine", End::kHigh, "montagna, 26000, {}, 2"},
      {"montagna", "tipo", End::kLow, "montagna, 1000, 1400, {}", "open-air-tunnel"},
      {"montagna", "tipo", End::kHigh, "montagna, 1000, 1400, {}"},
      {"indicatori_vmax", "posizione", End::kLow, "indicatori_vmax, {}, 100, 100, 110, 0, 100, 100, 110, 0",
       "moved-to-cell"},
      {"indicatori_vmax", "posizione", End::kHigh, "indicatori_vmax, {}, 100, 100, 110, 0, 100, 100, 110, 0",
       "past-route-end"},
      {"indicatori_vmax", "vas", End::kLow, "indicatori_vmax, 7700, {}, 100, 110, 0, 5, 100, 110, 0"},
      {"indicatori_vmax", "vas", End::kHigh, "indicatori_vmax, 7700, {}, 100, 110, 0, 495, 100, 110, 0"},
      {"indicatori_vmax", "vcs", End::kHigh, "indicatori_vmax, 7700, 100, 100, {}, 0, 100, 100, 495, 0"},
      {"indicatori_vmax", "vad", End::kLow, "indicatori_vmax, 7700, 100, 100, 110, 0, {}, 100, 110, 0"},
      {"indicatori_vmax", "vad", End::kHigh, "indicatori_vmax, 7700, 100, 100, 110, 0, {}, 100, 110, 0"},
      {"indicatori_vmax", "vbd", End::kHigh, "indicatori_vmax, 7700, 100, 100, 110, 0, 100, {}, 110, 0"},
      {"indicatori_vmax", "strisces", End::kLow, "indicatori_vmax, 7700, 100, 100, 110, {}, 100, 100, 110, 5"},
      {"indicatori_vmax", "strisces", End::kHigh, "indicatori_vmax, 7700, 100, 100, 110, {}, 100, 100, 110, 9"},
      {"indicatori_vmax", "strisced", End::kLow, "indicatori_vmax, 7700, 100, 100, 110, 1, 100, 100, 110, {}"},
      {"indicatori_vmax", "strisced", End::kHigh, "indicatori_vmax, 7700, 100, 100, 110, 1, 100, 100, 110, {}"},
      {"cartello_indicatore", "posizione", End::kLow, "cartello_indicatore, {}, (PONTE)", "moved-to-cell"},
      {"cartello_indicatore", "posizione", End::kHigh, "cartello_indicatore, {}, (PONTE)", "past-route-end"},
      {"velocita", "position", End::kHigh, "velocita, {}, 100"},
      {"velocita", "speed", End::kLow, "velocita, 0, {}", "speed-rounded"},
      {"velocita", "speed", End::kHigh, "velocita, 0, {}", "speed-rounded"},
      {"aderenza", "adhesion", End::kLow, "aderenza, 0, {}"},
      {"aderenza", "adhesion", End::kHigh, "aderenza, 0, {}"},
      {"orologio", "hour", End::kLow, "orologio, {} 0 0"},
      {"orologio", "hour", End::kHigh, "orologio, {} 0 0"},
      {"orologio", "minute", End::kLow, "orologio, 7 {} 0"},
      {"orologio", "minute", End::kHigh, "orologio, 7 {} 0"},
      {"orologio", "second", End::kLow, "orologio, 7 0 {}"},
      {"orologio", "second", End::kHigh, "orologio, 7 0 {}"},
      {"sabbia", "sand", End::kLow, "sabbia, {}"},
      {"sabbia", "sand", End::kHigh, "sabbia, {}"},
      {"segnale", "posizione", End::kLow, "segnale, {}, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0", "moved-to-cell"},
      {"segnale", "posizione", End::kHigh, "segnale, {}, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0", "past-route-end"},
      {"segnale", "sx", End::kLow, "segnale, 10500, {}, 3, 0, 0, 0, 1, 0, 0, 0, 0"},
      {"segnale", "sx", End::kHigh, "segnale, 10500, {}, 3, 0, 0, 0, 1, 0, 0, 0, 0"},
      {"segnale", "s1", End::kLow, "segnale, 10500, 1, {}, 0, 0, 0, 0, 9, 0, 0, 0"},
      {"segnale", "s1", End::kHigh, "segnale, 10500, 1, {}, 0, 0, 0, 0, 9, 0, 0, 0"},
      {"segnale", "s3", End::kHigh, "segnale, 10500, 1, 3, 0, {}, 0, 0, 0, 0, 9, 0"},
      {"segnale", "rapp", End::kLow, "segnale, 10500, 2, 3, 0, 0, {}, 2, 0, 0, 0, 0"},
      {"segnale", "rapp", End::kHigh, "segnale, 10500, 2, 3, 0, 0, {}, 2, 0, 0, 0, 0"},
      {"segnale", "dx", End::kLow, "segnale, 10500, 1, 3, 0, 0, 0, {}, 0, 0, 0, 0"},
      {"segnale", "dx", End::kHigh, "segnale, 10500, 1, 3, 0, 0, 0, {}, 0, 0, 0, 0"},
      {"segnale", "d1", End::kLow, "segnale, 10500, 1, 3, 0, 0, 0, 0, {}, 0, 0, 0"},
      {"segnale", "d1", End::kHigh, "segnale, 10500, 1, 3, 0, 0, 0, 0, {}, 0, 0, 0"},
      {"segnale", "d2", End::kHigh, "segnale, 10500, 1, 3, 0, 0, 0, 0, 0, {}, 0, 0"},
      {"segnale", "tempo", End::kLow, "segnale, 10500, 2, 3, 0, 0, 0, 0, 0, 0, 0, {}"},
      {"segnale", "tempo", End::kHigh, "segnale, 10500, 2, 3, 0, 0, 0, 0, 0, 0, 0, {}"},
      {"rallentamento", "x", End::kLow, "rallentamento, {}, 30, 400, 1, 0, 0", "moved-to-cell"},
      {"rallentamento", "x", End::kHigh, "rallentamento, {}, 30, 50, 1, 0, 0", "past-route-end"},
      {"rallentamento", "v", End::kLow, "rallentamento, 4000, {}, 400, 1, 0, 0"},
      {"rallentamento", "v", End::kHigh, "rallentamento, 4000, {}, 400, 1, 0, 0"},
      {"rallentamento", "l", End::kLow, "rallentamento, 10050, 30, {}, 1, 0, 0"},
      {"rallentamento", "l", End::kHigh, "rallentamento, 10000, 30, {}, 1, 0, 0"},
      {"rallentamento", "f_tt", End::kLow, "rallentamento, 4000, 30, 400, {}, 0, 0"},
      {"rallentamento", "f_tt", End::kHigh, "rallentamento, 4000, 30, 400, {}, 0, 0"},
      {"rallentamento", "d_v", End::kLow, "rallentamento, 4000, 30, 400, 1, 0, {}"},
      {"rallentamento", "d_v", End::kHigh, "rallentamento, 4000, 30, 400, 1, 0, {}"},
      {"abbattimento", "position", End::kLow, "abbattimento, {}, 80", "moved-to-cell"},
      {"abbattimento", "position", End::kHigh, "abbattimento, {}, 80", "past-route-end"},
      {"abbattimento", "value", End::kHigh, "abbattimento, 8900, {}"},
      {"stazione", "position", End::kStep, "stazione, {}, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 30, 11, 5, 0, X"},
      {"stazione", "position", End::kHigh, "stazione, {}, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 30, 11, 5, 0, X",
       "past-route-end"},
      {"stazione", "kind", End::kLow, "stazione, 11000, {}, 400, 0, 0, 0, 1,1,0, 4,1,1, 30, 11, 5, 0, X"},
      {"stazione", "kind", End::kHigh, "stazione, 11000, {}, 400, 0, 0, 0, 1,1,0, 4,1,1, 30, 11, 5, 0, X"},
      {"stazione", "length", End::kStep, "stazione, 11000, 12, {}, 0, 0, 0, 1,1,0, 4,1,1, 30, 11, 5, 0, X"},
      {"stazione", "value 4", End::kHigh, "stazione, 11000, 12, 400, {}, 0, 0, 1,1,0, 4,1,1, 30, 11, 5, 0, X"},
      {"stazione", "value 7", End::kLow, "stazione, 11000, 12, 400, 0, 0, 0, {},1,0, 4,1,1, 30, 11, 5, 0, X"},
      {"stazione", "value 12", End::kHigh, "stazione, 11000, 12, 400, 0, 0, 0, 1,1,0, 4,1,{}, 30, 11, 5, 0, X"},
      {"stazione", "value 13", End::kLow, "stazione, 11000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, {}, 11, 5, 0, X"},
      {"stazione", "hour", End::kLow, "stazione, 11000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 30, {}, 5, 0, X"},
      {"stazione", "hour", End::kHigh, "stazione, 11000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 30, {}, 5, 0, X"},
      {"stazione", "minute", End::kLow, "stazione, 11000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 30, 11, {}, 0, X"},
      {"stazione", "minute", End::kHigh, "stazione, 11000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 30, 11, {}, 0, X"},
      {"stazione", "second", End::kLow, "stazione, 11000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 30, 11, 5, {}, X"},
      {"stazione", "second", End::kHigh, "stazione, 11000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 30, 11, 5, {}, X"},
  };
  for (const EdgeCase& c : cases) check_edge(c);
}

// A record's example line alone in its section, the keyword field as given.
Outcome check_example(const SchemaRecord& record, std::string_view keyword) {
  const std::string_view example = record.example;
  const std::string source = std::string(keyword) + std::string(example.substr(example.find(','))) + "\r\n";
  TempDir dir;
  if (record.section == Section::kGeneral) {
    write_sources(dir, std::string(kGeneral) + "lunghezza percorso, 117000\r\n" + source + "[curve]\r\n[fine]\r\n",
                  train_with(""));
  } else if (record.section == Section::kTrack) {
    write_sources(dir, line_with(source), train_with(""));
  } else {
    write_sources(dir, line_with(""), train_with(source));
  }
  return listed(scenario_tool({"check", "S", "T"}, dir.path()));
}

// Each record's example reads without a word, and its keyword field starts
// the record as the schema says; in capitals it still reads for an any-case
// record, while the readers skip a lower-case one as an unknown record.
TEST(SourceSchema, EveryExampleReadsAndItsKeywordMatchesInItsLetterCase) {
  for (const SchemaRecord& record : source_schema()) {
    const std::string_view keyword = record.example.substr(0, record.example.find(','));
    EXPECT_TRUE(starts_record(record, keyword)) << record.keyword;
    if (record.keyword == "lunghezza percorso") continue;  // every line source has one already
    const Outcome plain = check_example(record, keyword);
    EXPECT_EQ(plain.status, 0) << record.keyword << plain.err;
    EXPECT_EQ(plain.err, "") << record.keyword;
    std::string upper(keyword);
    for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    const bool any_case = record.forms.front().letter_case == LetterCase::kAny;
    EXPECT_EQ(starts_record(record, upper), any_case) << record.keyword;
    const Outcome capitals = check_example(record, upper);
    EXPECT_EQ(capitals.err.find("[keyword-case]") != std::string::npos, !any_case) << upper << capitals.err;
  }
}

}  // namespace
}  // namespace scenario
