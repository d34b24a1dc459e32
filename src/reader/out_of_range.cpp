#include "reader/out_of_range.h"

#include <cstdlib>
#include <initializer_list>
#include <string>

#include "format/scenario_format.h"
#include "model/numeric.h"
#include "reader/gradients_tunnels.h"
#include "reader/signals.h"
#include "reader/source_schema.h"
#include "reader/warnings.h"

namespace scenario {
namespace {

// A field stored together with others, and the value it reads back as.
struct Packed {
  size_t index;  // in the record's numbers and the schema's fields alike
  int64_t read_back;
};

// Past an end of its range that the schema warns of (an end that is an
// error never gets here: the record was refused).
bool passes_warned_end(const SchemaField& field, int64_t value) {
  if (value < field.lowest.value) return !field.lowest.outside.warning.empty();
  if (field.grid_end != GridEnd::kNone || value <= field.highest.value) return false;
  return !field.highest.outside.warning.empty();
}

std::string changed_by(std::string_view name, int64_t by) {
  return std::string(name) + " " + std::to_string(std::llabs(by)) + (by > 0 ? " higher" : " lower");
}

constexpr std::string_view kStoredAs = "it is stored as";

// "it is stored as sx 0 with rapp 1 higher and dx 1 lower": the field at
// fault as it reads back, the others by how much they moved.
std::string stored_instead(std::string_view stored_as, const SchemaRecord& schema, std::span<const Number> numbers,
                           std::initializer_list<Packed> packed, const Packed& fault) {
  std::string text = std::string(stored_as) + " " + std::string(schema.fields[fault.index].name) + " " +
                     std::to_string(fault.read_back);
  std::vector<std::string> moved;
  for (const Packed& other : packed) {
    const int64_t by = other.read_back - numbers[other.index].value;
    if (other.index != fault.index && by != 0) moved.push_back(changed_by(schema.fields[other.index].name, by));
  }
  for (size_t i = 0; i < moved.size(); ++i) {
    text += (i == 0 ? " with " : i + 1 == moved.size() ? " and " : ", ") + moved[i];
  }
  return text;
}

// One warning for fields stored together whose place reads back otherwise
// than they were given, at the first of them outside its range. A value
// within every range that still reads back otherwise (a speed off the 5 km/h
// steps) is no matter of ranges.
bool warn_packed(Record& record, std::string_view what, const SchemaRecord& schema, std::span<const Number> numbers,
                 std::initializer_list<Packed> packed, std::string_view stored_as = kStoredAs) {
  bool altered = false;
  for (const Packed& field : packed) altered = altered || field.read_back != numbers[field.index].value;
  if (!altered) return false;
  for (const Packed& field : packed) {
    const SchemaField& range = schema.fields[field.index];
    const int32_t value = numbers[field.index].value;
    if (!passes_warned_end(range, value)) continue;
    warn_out_of_range(record, numbers[field.index].site, what, range, value,
                      stored_instead(stored_as, schema, numbers, packed, field));
    return true;
  }
  return false;
}

const SchemaRecord& schema_of(std::string_view keyword) { return *schema_record(keyword); }

std::string at_position(std::string_view what, const Number& position) {
  return std::string(what) + " at " + std::to_string(position.value) + " m";
}

// A sum of seconds as a time; a negative one with a minus before it.
std::string time_of(int64_t seconds) { return (seconds < 0 ? "−" : "") + time_of_day_text(std::llabs(seconds)); }

}  // namespace

void warn_signal_out_of_range(Record& record, std::span<const Number> numbers) {
  enum { kPosizione, kSx, kS1, kS2, kS3, kRapp, kDx, kD1, kD2, kD3, kTempo };
  const SchemaRecord& schema = schema_of("segnale");
  const std::string what = at_position("signal", numbers[kPosizione]);
  for (const size_t s : {kS1, kS2, kS3}) {
    const size_t d = s - kS1 + kD1;
    const SignalPair pair = decode_signal_pair(encode_signal_pair(numbers[s].value, numbers[d].value));
    warn_packed(record, what, schema, numbers, {{s, pair.high}, {d, pair.low}});
  }
  const int32_t sx = numbers[kSx].value;
  const SignalPair p4 =
      decode_signal_pair(encode_signal_pair(numbers[kRapp].value, signal_code(sx, numbers[kDx].value)));
  const SignalPair code = decode_signal_code(p4.low);
  // The approach cells keep the code digit whole; the signal's own cell does not.
  warn_packed(record, what, schema, numbers, {{kSx, code.high}, {kRapp, p4.high}, {kDx, code.low}},
              "the signal's cell stores it as");
  if (keeps_tempo(sx)) {
    warn_packed(record, what, schema, numbers, {{kTempo, signal_timer(sx, numbers[kTempo].value)}});
  }
}

void warn_slowdown_out_of_range(Record& record, std::span<const Number> numbers) {
  enum { kX, kV, kL, kFtt, kFta, kDv };
  const SchemaRecord& schema = schema_of("rallentamento");
  const std::string what = at_position("slowdown", numbers[kX]);
  warn_packed(record, what, schema, numbers, {{kV, low16(numbers[kV].value)}});
  warn_packed(record, what, schema, numbers, {{kFtt, low16(numbers[kFtt].value)}});
  // d_v is stored only when it is not 0.
  if (numbers[kDv].value != 0) warn_packed(record, what, schema, numbers, {{kDv, low16(numbers[kDv].value)}});
}

void warn_speed_board_out_of_range(Record& record, std::span<const Number> numbers) {
  enum { kPosizione, kVas, kVbs, kVcs, kStrisces, kVad, kVbd, kVcd, kStrisced };
  const SchemaRecord& schema = schema_of("indicatori_vmax");
  const std::string what = at_position("speed board", numbers[kPosizione]);
  for (const size_t s : {kVas, kVbs, kVcs}) {
    const size_t d = s - kVas + kVad;
    const BoardSides sides = decode_board_speeds(encode_board_speeds(numbers[s].value, numbers[d].value));
    warn_packed(record, what, schema, numbers, {{s, sides.s}, {d, sides.d}});
  }
  const BoardSides stripes = decode_board_stripes(encode_board_stripes(numbers[kStrisces].value, numbers[kStrisced].value));
  warn_packed(record, what, schema, numbers, {{kStrisces, stripes.s}, {kStrisced, stripes.d}});
}

bool warn_tunnel_out_of_range(Record& record, std::span<const Number> numbers) {
  enum { kInizio, kFine, kTipo };
  const int32_t tipo = numbers[kTipo].value;
  const int64_t read_back = low8(tunnel_kind(tipo)) + (tipo - tunnel_kind(tipo));
  const std::string what = "tunnel from " + std::to_string(numbers[kInizio].value) + " m to " +
                           std::to_string(numbers[kFine].value) + " m";
  return warn_packed(record, what, schema_of("montagna"), numbers, {{kTipo, read_back}});
}

void warn_time_out_of_range(Record& record, std::string_view what, std::string_view keyword,
                            std::span<const Number, 3> time, bool stored_apart) {
  enum { kHour, kMinute, kSecond };
  const int64_t hour = time[kHour].value;
  const int64_t minute = time[kMinute].value;
  const int64_t second = time[kSecond].value;
  const int64_t seconds = hour * kSecondsPerHour + minute * kSecondsPerMinute + second;
  for (const size_t part : {kMinute, kSecond}) {
    const SchemaField& field = schema_field(keyword, part == kMinute ? "minute" : "second");
    if (!passes_warned_end(field, time[part].value)) continue;
    const std::string instead = stored_apart ? "it is stored as " + time_text(hour, minute, second) + ", which is " +
                                                   time_of(seconds)
                                             : "its scheduled time is stored as " + time_of(seconds);
    warn_out_of_range(record, time[part].site, what, field, time[part].value, instead);
    return;
  }
}

}  // namespace scenario
