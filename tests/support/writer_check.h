#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "io/replace_file.h"
#include "model/route_model.h"
#include "sources/builtin_sources.h"
#include "sources/line_table.h"
#include "support/model_fixtures.h"
#include "support/temp_dir.h"

namespace scenario::testing {

// Runs a writer of the built-in scenario over an older, longer file of the
// name it writes, and returns what the file then holds. The directory must
// hold that one file and nothing else: no temporary is left behind.
template <typename Writer>
std::string written_over_older_file(const std::string& name, LineTable table, Writer writer) {
  TempDir dir;
  replace_file(dir / name, table_text(table) + "[fine]\r\nold\r\n");
  writer(named_model(kBuiltInScenario, kBuiltInTrain), dir.path());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  return bytes_of(dir / name).value_or("");
}

}  // namespace scenario::testing
