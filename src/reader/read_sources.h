#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/diagnostic.h"
#include "model/route_model.h"
#include "reader/source_schema.h"

// The reading as a function of its texts: both sources in, one result out.
// The package, the compile and check commands and the fuzz targets all read
// through read_sources; nothing else reads a source.

namespace scenario {

// Where the compiler's own messages point: the record that last wrote cell 1
// (which holds the reserved marks) and the record that stored each row's
// text, as the scenario read holds them.
struct SourceOrigins {
  ErrorSite reserved_cell;
  std::array<ErrorSite, kEntryCount> texts{};
};

// A source as the reading finds it: its text, or why it could not be had.
struct SourceText {
  // A text is a source as it stands.
  SourceText(std::string_view source_text) : text(source_text) {}  // NOLINT(google-explicit-constructor)
  SourceText(const std::string& source_text) : text(source_text) {}  // NOLINT(google-explicit-constructor)
  SourceText(const char* source_text) : text(source_text) {}  // NOLINT(google-explicit-constructor)
  enum class Trouble { kNone, kMissing, kUnreadable };
  static SourceText missing(std::string reason) { return {Trouble::kMissing, std::move(reason)}; }
  static SourceText unreadable(std::string reason) { return {Trouble::kUnreadable, std::move(reason)}; }

  std::string_view text;
  Trouble trouble = Trouble::kNone;
  std::string reason;  // the system's word on a source that could not be had

 private:
  SourceText(Trouble why, std::string what) : trouble(why), reason(std::move(what)) {}
};

struct ReadOptions {
  std::string scenario_name;  // as the files store it (Windows-1252)
  std::string train_number;
  std::string line_file;  // the sources' file names, for diagnostics
  std::string train_file;
  int32_t write_trace = 0;  // non-zero: build the plan trace
  // A recovering reading notes a refused record and reads on from the next
  // one, so that independent errors are all found; the scenario and the
  // recorded error are still the strict reading's.
  bool recover = false;
  // Keep every record met, with its fields and what it placed (ReadReport's
  // records): for a front end that shows the record behind each object.
  bool keep_records = false;
};

// A strict reading of scenario_name's sources for train_number; the file
// names are left to whoever has the files.
ReadOptions read_options(std::string scenario_name, std::string train_number, int32_t write_trace);

// A record as the reading met it, kept when ReadOptions::keep_records asks.
struct KeptRecord {
  const SchemaRecord* schema = nullptr;  // the kind the reader read it as
  std::string file;
  FieldSite keyword;
  std::string token;                // the keyword field
  LineExcerpt line;                 // its line, around the keyword
  std::vector<std::string> fields;  // after the keyword, as written
  std::vector<int64_t> cells;       // the cells it put an object in, in order
  int32_t row = -1;                 // the row of entries whose text it stored, or -1
  // Read on the scenario the result holds: false after the strict reading
  // stopped, or past a 15 that ended its records.
  bool in_scenario = true;
};

// Everything a reading tells besides the scenario.
struct ReadReport {
  // Errors and warnings in source order: the line source's, then the train
  // source's. Past DiagnosticLog::kKept of a severity only counts are kept.
  std::vector<Diagnostic> diagnostics;
  size_t unlisted_errors = 0;
  size_t unlisted_warnings = 0;
  // The error the reading records (the number the package shows); always
  // among the diagnostics.
  std::optional<Diagnostic> recorded;
  SourceOrigins origins;
  bool train_reached = false;  // the reading came to the train source
  std::vector<KeptRecord> records;  // in reading order, when kept

  int32_t error_code() const { return recorded ? recorded->code : 0; }
};

struct ReadResult {
  RouteModel scenario;  // as the binary files hold it, before the compiler seals it
  ReadReport report;
};

// Reads the line source, then the train source. Every failure of the
// reading itself is an error of the result; any other exception is a fault
// of the program and leaves as ProgramFault.
ReadResult read_sources(const SourceText& line, const SourceText& train, const ReadOptions& options);

// A fault of the program met while reading: what failed and where the
// reading was.
class ProgramFault : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

}  // namespace scenario
