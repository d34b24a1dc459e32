#include <gtest/gtest.h>

#include <string>

#include "model/error_codes.h"
#include "reader/memorizza_dati.h"
#include "sources/line_table.h"
#include "sources/builtin_sources.h"
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
    memorizza_dati(on_disk.model, on_disk.files, SourcePolicy::kKeep);

    testing::RunInTempDir in_memory(kBuiltInScenario, kBuiltInTrain);
    in_memory.model.write_trace = 1;
    memorizza_dati(in_memory.model, in_memory.files, SourceTexts{c.line, c.train});

    EXPECT_EQ(in_memory.model.error_code, on_disk.model.error_code);
    EXPECT_EQ(in_memory.model.error_site.file, on_disk.model.error_site.file);
    EXPECT_EQ(in_memory.model.error_site.line, on_disk.model.error_site.line);
    EXPECT_EQ(in_memory.model.error_site.column, on_disk.model.error_site.column);
    EXPECT_EQ(in_memory.model.error_site.detail, on_disk.model.error_site.detail);
    EXPECT_EQ(in_memory.model.entries, on_disk.model.entries);
    EXPECT_EQ(in_memory.model.cells, on_disk.model.cells);
    EXPECT_EQ(in_memory.model.plan_trace.runs, on_disk.model.plan_trace.runs);
    EXPECT_TRUE(testing::names_in(in_memory.dir.path()).empty());
  }
}

}  // namespace
}  // namespace scenario
