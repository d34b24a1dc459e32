// scenario new: a commented starting pair that compiles without a word, and
// is the handbook's complete example.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "io/replace_file.h"
#include "support/source_fixtures.h"
#include "tool/tool_run.h"

namespace scenario {
namespace {

using testing::bytes_of;
using testing::Outcome;
using testing::scenario_tool;
using testing::TempDir;

const std::filesystem::path kHandbook = std::filesystem::path(PROJECT_SOURCE_DIR) / "docs" / "source-format.md";

// The names of the handbook's example.
constexpr const char* kScenario = "Borgo_Lago";
constexpr const char* kTrain = "2901";

// Written where asked, under the names asked, the same texts whatever the
// names; they compile and check without a diagnostic, with or without the
// plan of the line.
TEST(ToolNew, WritesAPairThatCompilesWithoutADiagnostic) {
  struct Case {
    std::string dir;
    std::string scenario;
    std::string train;
  };
  const Case cases[] = {
      {".", kScenario, kTrain},
      {"a/b/out", "Valle_Chiara", "8811"},
  };
  TempDir reference;
  ASSERT_EQ(scenario_tool({"new", kScenario, kTrain}, reference.path()).status, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dir + " " + c.scenario + " " + c.train);
    TempDir top;
    const Outcome written = scenario_tool({"new", "--dir", c.dir, c.scenario, c.train}, top.path());
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out + written.err, "");
    const std::filesystem::path dir = top / c.dir;
    const std::string line_source = c.scenario + "_linea.txt";
    const std::string train_source = c.scenario + "_" + c.train + "-.txt";
    EXPECT_EQ(testing::names_in(dir), (std::set<std::string>{line_source, train_source}));
    EXPECT_EQ(bytes_of(dir / line_source), bytes_of(reference / (std::string(kScenario) + "_linea.txt")));
    EXPECT_EQ(bytes_of(dir / train_source),
              bytes_of(reference / (std::string(kScenario) + "_" + kTrain + "-.txt")));
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"compile", "--dir", c.dir, c.scenario, c.train},
          std::vector<std::string>{"compile", "--no-trace", "--dir", c.dir, c.scenario, c.train}}) {
      const Outcome compiled = scenario_tool(command, top.path());
      EXPECT_EQ(compiled.status, 0) << command[1];
      EXPECT_EQ(compiled.out + compiled.err, "") << command[1];
    }
    const Outcome checked = scenario_tool({"check", "--strict", "--dir", c.dir, c.scenario, c.train}, top.path());
    EXPECT_EQ(checked.status, 0);
    EXPECT_TRUE(checked.err.ends_with(": 12 km, 3 stations, 6 signals, 3 speed boards, 2 indication boards, "
                                      "2 tunnels, 1 slowdown: no error, no warning\n"))
        << checked.err;
  }
}

// As export: both sources are looked at before either is written; an
// existing one is named and nothing is written, unless --force.
TEST(ToolNew, OverwritesAnExistingSourceOnlyWithForce) {
  const std::string line_source = std::string(kScenario) + "_linea.txt";
  const std::string train_source = std::string(kScenario) + "_" + kTrain + "-.txt";
  const std::vector<std::vector<std::string>> cases = {{line_source}, {train_source}, {line_source, train_source}};
  for (const auto& existing : cases) {
    TempDir dir;
    for (const std::string& name : existing) replace_file(dir / name, "edited by the author\r\n");
    const std::set<std::string> before = testing::names_in(dir.path());

    const Outcome refused = scenario_tool({"new", "--dir", dir.path().string(), kScenario, kTrain});
    EXPECT_EQ(refused.status, 1) << existing.size();
    for (const std::string& name : existing) {
      EXPECT_NE(refused.err.find("scenario new: " + (dir / name).string() + " already exists"), std::string::npos)
          << refused.err;
      EXPECT_EQ(bytes_of(dir / name), "edited by the author\r\n") << name;
    }
    EXPECT_EQ(testing::names_in(dir.path()), before);

    EXPECT_EQ(scenario_tool({"new", "--force", "--dir", dir.path().string(), kScenario, kTrain}).status, 0);
    EXPECT_EQ(scenario_tool({"check", "--strict", "--dir", dir.path().string(), kScenario, kTrain}).status, 0);
  }
}

// A text with its CR LF line ends made LF, as the handbook shows it.
std::string without_cr(const std::string& text) {
  std::string lines;
  for (size_t at = 0; at < text.size(); ++at) {
    if (!(text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n')) lines += text[at];
  }
  return lines;
}

// The handbook's complete example is what new writes, every line ended by CR
// LF: each file a fenced block after "File: `NAME`".
TEST(ToolNew, IsTheHandbooksCompleteExample) {
  TempDir dir;
  ASSERT_EQ(scenario_tool({"new", kScenario, kTrain}, dir.path()).status, 0);
  const std::string handbook = bytes_of(kHandbook).value_or("");
  for (const std::string& name : {std::string(kScenario) + "_linea.txt", std::string(kScenario) + "_" + kTrain + "-.txt"}) {
    const std::string source = bytes_of(dir / name).value_or("");
    const std::string lines = without_cr(source);
    EXPECT_TRUE(lines.ends_with('\n')) << name;
    EXPECT_EQ(lines.find('\r'), std::string::npos) << name;
    EXPECT_EQ(source.size(), lines.size() + static_cast<size_t>(std::count(lines.begin(), lines.end(), '\n'))) << name;
    const std::string block = "File: `" + name + "`\n\n```text\n" + lines + "```\n";
    EXPECT_NE(handbook.find(block), std::string::npos)
        << "docs/source-format.md does not show " << name << " as scenario new writes it:\n"
        << block;
  }
}

}  // namespace
}  // namespace scenario
