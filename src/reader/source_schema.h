#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <string_view>

#include "model/error_codes.h"

// The schema of the two text sources: every record, the keyword forms that
// start it, where it may stand, and each of its fields in order with its
// unit, the range it holds and what it means. The handbook's record tables,
// `scenario explain KEYWORD` and the out-of-range warning all read it; the
// readers' own tests hold its ranges to what the readers accept.

namespace scenario {

enum class SourceFile { kLine, kTrain };

// Where a record may stand in its source.
enum class Section {
  kGeneral,  // the line source's general section, "[generale]" up to the next heading
  kTrack,    // the line source after the general section
  kTrain,    // the train source after "[generale]"
};

// A keyword form: the field must contain word, and also when not empty. A
// lower-case form is matched as written; any-case forms ignore letter case.
enum class LetterCase { kLowerOnly, kAny };
struct KeywordForm {
  std::string_view word;
  std::string_view also;
  LetterCase letter_case;
};

// How the reader takes a number: its width decides which values it reads at
// all (error 25 beyond them); a text is read as a field of its own.
enum class Width { kInt32, kInt16, kUint8, kText };

// What a value outside a field's range does: an error, a warning, or nothing
// (stored as read, a value the format gives no meaning).
struct Outside {
  int32_t error = 0;
  std::string_view warning;
};
inline constexpr Outside kStoredAsRead{};
constexpr Outside refused_with(int32_t error) { return {error, {}}; }
constexpr Outside warned_as(std::string_view warning) { return {0, warning}; }

// One end of a field's range.
struct Limit {
  int64_t value = 0;
  Outside outside;
};

// An upper end that the size of the route sets (error 15 past it).
enum class GridEnd {
  kNone,
  kTrackMargin,   // p + 100 <= G
  kStationMargin,  // p + 800 <= G
  kCurveEnd,      // start + length <= L + 6998
  kTunnelEnd,     // the cells up to fine / 50 - 1 lie on the grid
  kSlowdownEnd,   // the end cell (x + l) / 50 + 1 lies on the grid
};

inline constexpr int64_t kInt32Lowest = std::numeric_limits<int32_t>::min();
inline constexpr int64_t kInt32Highest = std::numeric_limits<int32_t>::max();
inline constexpr int64_t kInt16Lowest = std::numeric_limits<int16_t>::min();
inline constexpr int64_t kInt16Highest = std::numeric_limits<int16_t>::max();

struct SchemaField {
  std::string_view name = {};
  std::string_view unit = {};  // "m", "km/h", "‰", "h", "min", "s", or empty
  Width width = Width::kInt32;
  Limit lowest{kInt32Lowest, refused_with(kRunFailure)};
  Limit highest{kInt32Highest, refused_with(kRunFailure)};
  GridEnd grid_end = GridEnd::kNone;  // when set, the upper end (highest is then unused)
  int32_t multiple_of = 0;            // when not 0, the value must be a multiple of it ...
  int32_t off_multiple_error = 0;     // ... else this error
  std::string_view meaning = {};
  std::string_view stored = {};  // where and how the value is stored
};

struct SchemaRecord {
  std::string_view keyword;  // as the built-in sources write it; `scenario explain` takes it
  std::string_view name;     // "signal"
  SourceFile source;
  Section section;
  std::span<const KeywordForm> forms;  // any one of them starts the record
  std::string_view keyword_note;       // what else the keyword field says, or empty
  std::string_view meaning;
  std::string_view example;  // a line that reads without a word, as the built-in sources have it
  std::span<const SchemaField> fields;
  std::string_view heading;  // the heading the built-in sources put it under, "[pendenze]"
};

// Every record of both sources: the line source's general rows and track
// records, then the train source's records, each in the order the reader
// tests them.
std::span<const SchemaRecord> source_schema();

// The record whose keyword is keyword, or null.
const SchemaRecord* schema_record(std::string_view keyword);

// The field named name of the record whose keyword is keyword; the program
// asks only for fields the schema has.
const SchemaField& schema_field(std::string_view keyword, std::string_view name);

// Whether a field that holds token starts the record, as the reader tests it.
bool starts_record(const SchemaRecord& record, std::string_view token);

// Whether value lies within the field's range (a grid end is not looked at).
bool within_range(const SchemaField& field, int64_t value);

}  // namespace scenario
