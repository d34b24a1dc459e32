// Formatting aligns columns by blanks next to commas only: every field reads
// as before, the scenario read is the same, line ends stay as they were.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lsp/formatting.h"
#include "model/windows1252.h"
#include "reader/read_sources.h"
#include "sources/builtin_sources.h"
#include "sources/line_table.h"

namespace scenario::lsp {
namespace {

// The text with the edits applied; each replaces one line's content.
std::string formatted(const std::string& bytes, SourceFile source) {
  const EditorText text = EditorText::from_bytes(bytes);
  std::vector<std::string> lines;
  for (int i = 0; i < text.line_count(); ++i) lines.emplace_back(text.line(i));
  for (const nlohmann::json& edit : formatting_edits(text, source)) {
    const int line = edit["range"]["start"]["line"];
    lines[static_cast<size_t>(line)] = *utf8_to_windows1252(edit["newText"].get<std::string>());
  }
  std::string result;
  for (int i = 0; i < text.line_count(); ++i) {
    const size_t end = text.line_start(i) + text.line(i).size();
    const size_t next = i + 1 < text.line_count() ? text.line_start(i + 1) : bytes.size();
    result += lines[static_cast<size_t>(i)] + bytes.substr(end, next - end);
  }
  return result;
}

TEST(Formatting, AlignsTheNumbersOfEachKindOfRecordInASection) {
  const struct {
    std::string text;
    std::string expected;
  } cases[] = {
      {"[generale]\r\n[vel_limite]\r\nvelocita, 0,60\r\nvelocita,   1300,    140\r\n",
       "[generale]\r\n[vel_limite]\r\nvelocita,    0,  60\r\nvelocita, 1300, 140\r\n"},
      // Blanks inside a field are the field's: a clock's three numbers, a name.
      {"[generale]\r\norologio,    10   55  30 \r\n", "[generale]\r\norologio, 10   55  30\r\n"},
      // A quoted field may hold commas: its line is left as it is.
      {"[generale]\r\n[x]\r\nstazione, 0, \"A, B\"\r\n", "[generale]\r\n[x]\r\nstazione, 0, \"A, B\"\r\n"},
      // Lines that start no record, and empty fields, stay.
      {"[generale]\r\n-- note,  here\r\nsabbia,,\r\n", "[generale]\r\n-- note,  here\r\nsabbia,,\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(formatted(c.text, SourceFile::kTrain), c.expected) << c.text;
}

TEST(Formatting, TheBuiltInScenarioReadsTheSameFormatted) {
  const std::string line = table_text(line_source_table());
  const std::string train = table_text(train_source_table());
  const std::string line_formatted = formatted(line, SourceFile::kLine);
  const std::string train_formatted = formatted(train, SourceFile::kTrain);
  ASSERT_NE(train_formatted, train);
  ReadOptions options = read_options(std::string(kBuiltInScenario), std::string(kBuiltInTrain), 1);
  const ReadResult before = read_sources(line, train, options);
  const ReadResult after = read_sources(line_formatted, train_formatted, options);
  EXPECT_EQ(after.report.diagnostics.size(), 0u);
  EXPECT_TRUE(after.scenario == before.scenario);
}

}  // namespace
}  // namespace scenario::lsp
