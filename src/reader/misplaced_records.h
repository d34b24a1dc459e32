#pragma once

#include <optional>
#include <string_view>

#include "reader/record_loop.h"
#include "reader/source_schema.h"

// Lines that start no record where they stand, but would start one written
// in lower case, or in another section or source. The reading skips them as
// it skips any line that starts no record.

namespace scenario {

// Where a record kind is read, and where the built-in sources put it, as the
// schema of the sources has it.
struct RecordHome {
  std::string_view source;   // "line source" or "train source"
  std::string_view heading;  // the heading of its section there, "[pendenze]"
};

// The record of the schema a reader's test reads, or null.
const SchemaRecord* schema_of(const KeywordTest& test);

// The home of a record kind of either source; nothing for a kind the table
// does not know.
std::optional<RecordHome> home_of(const KeywordTest& test);

// keyword-case when the record's token would start a row of its own section
// in lower case; wrong-section when it starts a record of another section or
// of the other source. Returns whether it warned.
bool warn_misplaced(Record& record);

}  // namespace scenario
