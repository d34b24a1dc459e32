// The warnings about records that read but most likely not as meant, as the
// author sees them: on the line and field at fault, an error only for
// check --strict, and never a byte of difference in the files.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "io/replace_file.h"
#include "sources/builtin_sources.h"
#include "sources/line_table.h"
#include "tool/tool_run.h"

namespace scenario {
namespace {

using testing::bytes_of;
using testing::line_with;
using testing::Outcome;
using testing::scenario_tool;
using testing::TempDir;
using testing::train_with;
using testing::write_sources;

TEST(SenseWarnings, AreListedByCheckAndCompileAndFailOnlyAStrictCheck) {
  TempDir dir;
  write_sources(dir, line_with("curva destra 4, 1000, 400\r\n"),
                train_with("velocita, 0, 100\r\nrallentamento, 4000, 500, 50, 1, 0, 0\r\nsabbia, 1 000\r\n"));
  const std::string expected =
      "S_linea.txt:4:1: warning: curve keyword \"curva destra 4\" reads as a left curve of class 4: an \"s\" "
      "anywhere makes a curve turn left and the first of the digits 1 to 6 gives its class; write \"curvas4\" for "
      "a left curve or \"curvad4\" for a right one [curve-keyword]\n"
      "curva destra 4, 1000, 400\n"
      "^\n"
      "S_T-.txt:3:22: warning: slowdown at 4000 m: speed 500 km/h and length 50 m look swapped (the line speed "
      "there is 100 km/h); the record reads start, speed, length [swapped-slowdown]\n"
      "rallentamento, 4000, 500, 50, 1, 0, 0\n"
      "                     ^\n"
      "S_T-.txt:4:9: warning: \"1 000\" reads as 2 numbers, 1 and 000: a number takes no thousands separator; "
      "did you mean 1000? [digit-group]\n"
      "sabbia, 1 000\n"
      "        ^\n";
  const Outcome checked = scenario_tool({"check", "S", "T"}, dir.path());
  EXPECT_EQ(checked.status, 0);
  EXPECT_EQ(checked.err, expected + "S_linea.txt, S_T-.txt: 20 km, no station, no signal, no speed board, no "
                                    "indication board, no tunnel, 1 slowdown: no error, 3 warnings\n");
  EXPECT_EQ(scenario_tool({"check", "--strict", "S", "T"}, dir.path()).status, 1);
  const Outcome compiled = scenario_tool({"compile", "S", "T"}, dir.path());
  EXPECT_EQ(compiled.status, 0);
  EXPECT_EQ(compiled.err, expected + "3 warnings\n");
}

// A built-in source line and the same line with a mistake that reads into
// the same data.
struct Edit {
  std::string line;
  std::string mistaken;
};

std::string edited(std::string text, const std::vector<Edit>& edits) {
  for (const Edit& edit : edits) {
    const size_t at = text.find(edit.line + "\r\n");
    EXPECT_NE(at, std::string::npos) << edit.line;
    if (at != std::string::npos) text.replace(at, edit.line.size(), edit.mistaken);
  }
  return text;
}

const char* const kBinaries[] = {"Dorvallo_Brisente_linea.dat", "Dorvallo_Brisente_47302.sim",
                                 "Dorvallo_Brisente_47302.dat"};

// Mistakes the readers read past without a change to the data: each warns,
// and the three files are those of the built-in sources byte for byte.
TEST(SenseWarnings, LeaveTheFilesByteIdentical) {
  const std::string line = table_text(line_source_table());
  const std::string train = table_text(train_source_table());
  const std::string warned_line = edited(
      line, {{"lunghezza percorso,    117000", "lunghezza percorso,    90000\r\nlunghezza percorso,    117000"},
             {"sfondo uno,    1", "sfondo uno,    1\r\nSfondo Due,    3"},
             {"[curve]", "[curve]\r\nvelocita,   0,   100"},
             {"curvad4,  1050,  500", "curvad4 dx,  1050,  500"},
             {"pendenza,   0,    0", "pendenza,   0,    0,   0"}});
  const std::string warned_train = edited(
      train, {{"numero vetture,    4", "numero vetture,    3\r\nnumero vetture,    4"},
              {"velocita,    1300,   140", "velocita,    1300,   140,   150"},
              {"[stazioni]", "[stazioni]\r\n-- uno\r\n-- due\r\n-- tre"},
              {"11, 9, 0, PIEVE SALINA", "11, 9, 0, PIEVE SALINA, VECCHIA"},
              {"[segnali]", "[segnali]\r\npendenza,   0,    0"}});
  TempDir plain;
  TempDir warned;
  replace_file(plain / "Dorvallo_Brisente_linea.txt", line);
  replace_file(plain / "Dorvallo_Brisente_47302-.txt", train);
  replace_file(warned / "Dorvallo_Brisente_linea.txt", warned_line);
  replace_file(warned / "Dorvallo_Brisente_47302-.txt", warned_train);
  ASSERT_EQ(scenario_tool({"compile", "Dorvallo_Brisente", "47302"}, plain.path()).status, 0);
  const Outcome outcome = scenario_tool({"compile", "Dorvallo_Brisente", "47302"}, warned.path());
  EXPECT_EQ(outcome.status, 0);
  for (const char* name : {"[repeated-row]", "[keyword-case]", "[wrong-section]", "[curve-keyword]", "[extra-fields]",
                           "[comment-limit]", "[text-cut]"}) {
    EXPECT_NE(outcome.err.find(name), std::string::npos) << name << "\n" << outcome.err;
  }
  for (const char* name : kBinaries) {
    const auto bytes = bytes_of(warned / name);
    ASSERT_TRUE(bytes.has_value()) << name;
    EXPECT_TRUE(bytes == bytes_of(plain / name)) << name;
  }
}

}  // namespace
}  // namespace scenario
