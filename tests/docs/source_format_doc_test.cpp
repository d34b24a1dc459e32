// The handbook of the source format carries a complete example scenario; it
// must compile as the document says, so that the text cannot drift from the
// readers.

#include <gtest/gtest.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "compile/memorizza_percorso.h"
#include "io/replace_file.h"
#include "model/run_files.h"
#include "support/reader_error.h"
#include "support/temp_dir.h"

namespace scenario {
namespace {

using testing::TempDir;

const std::filesystem::path kHandbook = std::filesystem::path(PROJECT_SOURCE_DIR) / "docs" / "source-format.md";

// A line "File: `NAME`" names the fenced block that follows it.
constexpr std::string_view kFileLabel = "File: `";
constexpr std::string_view kFence = "```";
// Blocks of source lines carry this info string.
constexpr std::string_view kSourceLines = "text";

struct Block {
  std::string info;  // the fence's info string
  std::string file;  // the file it is named for, or empty
  std::vector<std::string> lines;
};

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (line.ends_with('\r')) line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// The fenced blocks of a Markdown text, each with the file a label line just
// before it names (blank lines may stand between them).
std::vector<Block> fenced_blocks(const std::vector<std::string>& lines) {
  std::vector<Block> blocks;
  std::string named;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.starts_with(kFileLabel) && line.ends_with('`')) {
      named = line.substr(kFileLabel.size(), line.size() - kFileLabel.size() - 1);
    } else if (line.starts_with(kFence)) {
      Block block{line.substr(kFence.size()), std::exchange(named, {}), {}};
      for (++i; i < lines.size() && !lines[i].starts_with(kFence); ++i) block.lines.push_back(lines[i]);
      blocks.push_back(std::move(block));
    } else if (!line.empty()) {
      named.clear();
    }
  }
  return blocks;
}

// The example pair: the line source and the train source, as the handbook
// names and shows them.
struct ExamplePair {
  std::string scenario;
  std::string train;
  Block line_source;
  Block train_source;
};

constexpr std::string_view kLineSuffix = "_linea.txt";
constexpr std::string_view kTrainSuffix = "-.txt";

ExamplePair example_pair(const std::vector<Block>& blocks) {
  ExamplePair pair;
  for (const Block& block : blocks) {
    if (block.file.ends_with(kLineSuffix)) {
      pair.line_source = block;
      pair.scenario = block.file.substr(0, block.file.size() - kLineSuffix.size());
    } else if (block.file.ends_with(kTrainSuffix)) {
      pair.train_source = block;
    }
  }
  const std::string prefix = pair.scenario + "_";
  const std::string& train_file = pair.train_source.file;
  if (train_file.starts_with(prefix)) {
    pair.train = train_file.substr(prefix.size(), train_file.size() - prefix.size() - kTrainSuffix.size());
  }
  return pair;
}

// A source as an author saves it: every line ended by CR LF.
std::string source_text(const Block& block) {
  std::string text;
  for (const std::string& line : block.lines) text += line + "\r\n";
  return text;
}

bool is_ascii(const Block& block) {
  return std::all_of(block.lines.begin(), block.lines.end(), [](const std::string& line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  });
}

int cells_of_kind(const RouteModel& model, uint8_t kind) {
  return static_cast<int>(std::count_if(model.cells.begin(), model.cells.end(),
                                        [kind](const Cell& cell) { return cell.kind == kind; }));
}

class Handbook : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::optional<std::string> text = scenario::testing::bytes_of(kHandbook);
    ASSERT_TRUE(text.has_value()) << kHandbook;
    blocks = fenced_blocks(lines_of(*text));
    pair = example_pair(blocks);
    ASSERT_FALSE(pair.line_source.lines.empty()) << "no block labelled File: `SCENARIO_linea.txt`";
    ASSERT_FALSE(pair.train.empty()) << "no block labelled File: `" << pair.scenario << "_TRAIN-.txt`";
  }

  std::vector<Block> blocks;
  ExamplePair pair;
};

TEST_F(Handbook, ExamplePairCompilesIntoWhatTheTextSays) {
  // A character outside ASCII would reach the file as UTF-8, not Windows-1252.
  EXPECT_TRUE(is_ascii(pair.line_source));
  EXPECT_TRUE(is_ascii(pair.train_source));
  TempDir dir;
  const RunFiles files = run_files(dir.path(), pair.scenario, pair.train);
  ASSERT_EQ(files.line_source.filename(), pair.line_source.file);
  ASSERT_EQ(files.train_source.filename(), pair.train_source.file);
  replace_file(files.line_source, source_text(pair.line_source));
  replace_file(files.train_source, source_text(pair.train_source));

  RouteModel model;
  model.scenario_name = pair.scenario;
  model.train_number = pair.train;
  ReadReport read;
  try {
    read = memorizza_percorso(model, kWithTrace, files, CompileOptions{.sources = SourcePolicy::kKeep});
  } catch (const std::exception& e) {
    FAIL() << e.what();
  }
  ASSERT_EQ(read.error_code(), 0) << testing::recorded_error(read);
  // Nor a warning: the example reads as it is meant.
  for (const Diagnostic& diagnostic : read.diagnostics) {
    ADD_FAILURE() << diagnostic.name << " on line " << diagnostic.site.line << ": " << diagnostic.site.detail;
  }
  // "3 stations, 6 signals, 3 speed boards, 2 indication boards, 2 tunnels, a
  // slowdown and one speed reduction point of its own (the compiler adds four)"
  EXPECT_EQ(cells_of_kind(model, kStationStop), 3);
  EXPECT_EQ(cells_of_kind(model, kSignal), 6);
  EXPECT_EQ(cells_of_kind(model, kSpeedBoard), 3);
  EXPECT_EQ(cells_of_kind(model, kTextBoard), 2);
  EXPECT_EQ(model.tunnel_count, 2);
  EXPECT_EQ(cells_of_kind(model, kSlowdownStart), 1);
  EXPECT_EQ(cells_of_kind(model, kSlowdownEnd), 1);
  EXPECT_EQ(cells_of_kind(model, kReductionValue), 1 + 4);
  for (const auto& path : {files.line_geometry, files.entry_table, files.cell_grid}) {
    EXPECT_TRUE(std::filesystem::exists(path)) << path;
  }
}

// The record examples throughout the text are lines of the example pair, so
// that each of them has been compiled in a complete scenario.
TEST_F(Handbook, EveryRecordExampleIsALineOfTheExamplePair) {
  std::set<std::string> example_lines(pair.line_source.lines.begin(), pair.line_source.lines.end());
  example_lines.insert(pair.train_source.lines.begin(), pair.train_source.lines.end());
  int examples = 0;
  for (const Block& block : blocks) {
    if (block.info != kSourceLines || !block.file.empty()) continue;
    for (const std::string& line : block.lines) {
      EXPECT_TRUE(example_lines.contains(line)) << "not in the example pair: " << line;
      ++examples;
    }
  }
  EXPECT_GT(examples, 0);
}

}  // namespace
}  // namespace scenario
