#include <gtest/gtest.h>

#include <string>

#include "model/error_codes.h"
#include "reader/memorizza_dati.h"
#include "sources/line_table.h"
#include "sources/builtin_sources.h"
#include "support/reader_error.h"
#include "support/source_fixtures.h"

namespace scenario {
namespace {

// Sources read from memory give the model that the same sources on disk give,
// a refusal and its site included; nothing is read from disk or deleted.
TEST(SourceTexts, ReadAsTheSameFilesOnDisk) {
  const std::string line = table_text(line_source_table());
  const std::string train = table_text(train_source_table());
  const struct {
    const char* case_name;
    std::string line;
    std::string train;
  } cases[] = {
      {"built-in", line, train},
      {"refused train record", line, train + "segnale, 10\r\n"},
      {"NUL in the line source", std::string("[generale]\0", 11) + "lunghezza percorso, 12x\r\n", train},
      {"empty sources", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.case_name);
    testing::RunInTempDir on_disk(kBuiltInScenario, kBuiltInTrain);
    on_disk.model.write_trace = 1;
    testing::write_sources(on_disk.files, c.line, c.train);
    on_disk.read_sources(SourcePolicy::kKeep);

    testing::TempDir empty;
    const RunFiles files = run_files(empty.path(), kBuiltInScenario, kBuiltInTrain);
    ReadOptions options = read_options(std::string(kBuiltInScenario), std::string(kBuiltInTrain), 1);
    options.line_file = files.line_source.filename().string();
    options.train_file = files.train_source.filename().string();
    const ReadResult in_memory = read_sources(c.line, c.train, options);

    EXPECT_EQ(testing::recorded_error(in_memory.report), testing::recorded_error(on_disk.report));
    EXPECT_EQ(in_memory.scenario.entries, on_disk.model.entries);
    EXPECT_EQ(in_memory.scenario.cells, on_disk.model.cells);
    EXPECT_EQ(in_memory.scenario.plan_trace.runs, on_disk.model.plan_trace.runs);
    EXPECT_TRUE(testing::names_in(empty.path()).empty());
  }
}

}  // namespace
}  // namespace scenario
