// A reading that keeps its records tells, for each, the schema's record,
// its fields as written and the cells and row it filled: what the view shows
// behind every object.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "reader/read_sources.h"

namespace scenario {
namespace {

constexpr const char* kLine =
    "[generale]\r\n"
    "lunghezza percorso, 20000\r\n"
    "[curve]\r\n"
    "curvad4, 1000, 400\r\n"
    "montagna, 2000, 2500, 2\r\n"
    "indicatori_vmax, 3000, 100, 100, 110, 2, 100, 100, 110, 2\r\n"
    "cartello_indicatore, 3500, \"A, B\"\r\n"
    "[fine]\r\n";

constexpr const char* kTrain =
    "[generale]\r\n"
    "segnale, 5000, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n"
    "stazione, 8000, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 30, 11, 5, 0, VALTORNE\r\n"
    "segnale, 8100, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n"
    "segnale, 9000, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n"
    "[fine]\r\n";

ReadResult read_keeping(bool recover) {
  ReadOptions options = read_options("S", "T", 1);
  options.line_file = "S_linea.txt";
  options.train_file = "S_T-.txt";
  options.recover = recover;
  options.keep_records = true;
  return read_sources(kLine, kTrain, options);
}

TEST(KeptRecords, EachRecordKeepsItsSchemaFieldsCellsAndRow) {
  const ReadResult read = read_keeping(true);
  const struct {
    std::string keyword;  // the schema's
    std::string file;
    int line;
    std::vector<std::string> first_fields;
    std::vector<int64_t> cells;
    int32_t row;
    bool in_scenario;
  } expected[] = {
      {"lunghezza percorso", "S_linea.txt", 2, {"20000"}, {}, -1, true},
      {"curva", "S_linea.txt", 4, {"1000", "400"}, {}, -1, true},
      {"montagna", "S_linea.txt", 5, {"2000", "2500", "2"}, {}, -1, true},
      {"indicatori_vmax", "S_linea.txt", 6, {"3000", "100"}, {61}, -1, true},
      // A quoted text is kept without its quotes; the board's text fills row 80.
      {"cartello_indicatore", "S_linea.txt", 7, {"3500", "A, B"}, {71}, 80, true},
      {"segnale", "S_T-.txt", 2, {"5000", "1", "3"}, {101}, -1, true},
      // Extent 7800 to 8200: the stop mark in cell 163.
      {"stazione", "S_T-.txt", 3, {"8000", "12", "400"}, {163}, 1, true},
      // Refused on the station's stop mark: the strict reading stops here, so
      // the next record is read on a scenario that is not the one kept.
      {"segnale", "S_T-.txt", 4, {"8100"}, {}, -1, true},
      {"segnale", "S_T-.txt", 5, {"9000"}, {181}, -1, false},
  };
  ASSERT_EQ(read.report.records.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const KeptRecord& kept = read.report.records[i];
    const auto& want = expected[i];
    SCOPED_TRACE(want.file + ":" + std::to_string(want.line));
    ASSERT_NE(kept.schema, nullptr);
    EXPECT_EQ(kept.schema->keyword, want.keyword);
    EXPECT_EQ(kept.file, want.file);
    EXPECT_EQ(kept.keyword.line, want.line);
    ASSERT_GE(kept.fields.size(), want.first_fields.size());
    EXPECT_EQ(std::vector<std::string>(kept.fields.begin(), kept.fields.begin() + static_cast<long>(want.first_fields.size())),
              want.first_fields);
    EXPECT_EQ(kept.cells, want.cells);
    EXPECT_EQ(kept.row, want.row);
    EXPECT_EQ(kept.in_scenario, want.in_scenario);
  }
  EXPECT_EQ(read.report.records[6].fields.size(), 17u);  // a station's 17 values
  EXPECT_EQ(read.report.records[6].line.text.substr(0, 9), "stazione,");
}

TEST(KeptRecords, NoneAreKeptUnlessAsked) {
  ReadOptions options = read_options("S", "T", 1);
  EXPECT_TRUE(read_sources(kLine, kTrain, options).report.records.empty());
}

TEST(KeptRecords, KeepingThemChangesNeitherTheScenarioNorTheDiagnostics) {
  for (const bool recover : {false, true}) {
    ReadOptions options = read_options("S", "T", 1);
    options.line_file = "S_linea.txt";
    options.train_file = "S_T-.txt";
    options.recover = recover;
    const ReadResult plain = read_sources(kLine, kTrain, options);
    const ReadResult kept = read_keeping(recover);
    EXPECT_EQ(kept.scenario, plain.scenario);
    ASSERT_EQ(kept.report.diagnostics.size(), plain.report.diagnostics.size());
    EXPECT_EQ(kept.report.error_code(), plain.report.error_code());
  }
}

}  // namespace
}  // namespace scenario
