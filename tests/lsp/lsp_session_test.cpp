// The language server end to end: the real `scenario lsp` over its pipes,
// the built-in pair open in it, a mistake typed, and what an editor shows.

#include <gtest/gtest.h>

#include <string>

#include "io/replace_file.h"
#include "lsp/lsp_client.h"
#include "model/run_files.h"
#include "model/windows1252.h"
#include "sources/builtin_sources.h"
#include "support/temp_dir.h"

namespace scenario::testing {
namespace {

using nlohmann::json;

// The built-in pair on disk, and the client that has the train source open.
class BuiltInSession : public ::testing::Test {
 protected:
  void SetUp() override {
    replace_file(files.line_source, table_text(line_source_table()));
    replace_file(files.train_source, table_text(train_source_table()));
    client.request(1, "initialize", {{"capabilities", json::object()}});
    ASSERT_TRUE(client.response(1));
    client.notify("initialized", json::object());
    open(train_uri, train_text());
  }

  void open(const std::string& uri, const std::string& bytes) {
    client.notify("textDocument/didOpen", {{"textDocument",
                                            {{"uri", uri},
                                             {"languageId", "scenario-source"},
                                             {"version", 1},
                                             {"text", windows1252_to_utf8(bytes)}}}});
  }

  void change(const std::string& uri, const std::string& bytes) {
    client.notify("textDocument/didChange",
                  {{"textDocument", {{"uri", uri}, {"version", ++version}}},
                   {"contentChanges", json::array({{{"text", windows1252_to_utf8(bytes)}}})}});
  }

  static std::string train_text() { return table_text(train_source_table()); }

  // The train source with one of its lines changed.
  static std::string train_with(const std::string& from, const std::string& to) {
    std::string text = train_text();
    text.replace(text.find(from), from.size(), to);
    return text;
  }

  json request(int id, const std::string& method, const std::string& uri, json extra = json::object()) {
    extra["textDocument"] = {{"uri", uri}};
    client.request(id, method, extra);
    const std::optional<json> answer = client.response(id);
    return answer ? (*answer)["result"] : json("no answer");
  }

  TempDir dir;
  RunFiles files = run_files(dir.path(), kBuiltInScenario, kBuiltInTrain);
  std::string line_uri = "file://" + files.line_source.string();
  std::string train_uri = "file://" + files.train_source.string();
  LspClient client{SCENARIO_PROGRAM};
  int version = 1;
};

TEST_F(BuiltInSession, TheBuiltInPairHasNoDiagnostic) {
  const std::optional<json> published = client.diagnostics_of(train_uri);
  ASSERT_TRUE(published);
  EXPECT_EQ((*published)["params"]["diagnostics"], json::array());
}

TEST_F(BuiltInSession, AMistakeTypedIsPublishedWithItsCodeAndTheFieldAtFault) {
  ASSERT_TRUE(client.diagnostics_of(train_uri));
  change(train_uri, train_with("velocita,   10400,   100", "velocita,   10400,   -100"));
  const std::optional<json> published = client.diagnostics_of(train_uri);
  ASSERT_TRUE(published);
  const json& diagnostics = (*published)["params"]["diagnostics"];
  ASSERT_EQ(diagnostics.size(), 1u) << diagnostics;
  EXPECT_EQ(diagnostics[0]["code"], "E25");
  EXPECT_EQ(diagnostics[0]["severity"], 1);
  EXPECT_EQ(diagnostics[0]["range"],
            json({{"start", {{"line", 11}, {"character", 21}}}, {"end", {{"line", 11}, {"character", 25}}}}));
}

TEST_F(BuiltInSession, ASkippedLineIsAWarningTaggedUnnecessaryOverTheLine) {
  ASSERT_TRUE(client.diagnostics_of(train_uri));
  change(train_uri, train_with("segnale,   10500", "segnlae,   10500"));
  const std::optional<json> published = client.diagnostics_of(train_uri);
  ASSERT_TRUE(published);
  const json& diagnostics = (*published)["params"]["diagnostics"];
  ASSERT_EQ(diagnostics.size(), 1u) << diagnostics;
  EXPECT_EQ(diagnostics[0]["code"], "unknown-record");
  EXPECT_EQ(diagnostics[0]["severity"], 2);
  EXPECT_EQ(diagnostics[0]["tags"], json::array({1}));
  EXPECT_EQ(diagnostics[0]["range"]["start"]["character"], 0);
  EXPECT_EQ(diagnostics[0]["range"]["end"]["character"], 51);
}

TEST_F(BuiltInSession, AChangeOfTheLineSourceRepublishesTheTrainSource) {
  ASSERT_TRUE(client.diagnostics_of(train_uri));
  open(line_uri, table_text(line_source_table()));
  ASSERT_TRUE(client.diagnostics_of(line_uri));
  // A speed board typed into the line source takes the cell of the train's signal at 10500 m.
  change(line_uri, table_text(line_source_table()) + "indicatori_vmax,  10500,  100,  100,  110,  2,  100,  100,  110,  2\r\n");
  const std::optional<json> published = client.diagnostics_of(train_uri);
  ASSERT_TRUE(published);
  const json& diagnostics = (*published)["params"]["diagnostics"];
  ASSERT_EQ(diagnostics.size(), 1u) << diagnostics;
  EXPECT_EQ(diagnostics[0]["code"], "E16");
  EXPECT_EQ(diagnostics[0]["relatedInformation"][0]["location"]["uri"], line_uri);
}

TEST_F(BuiltInSession, AHoverOnAPositionNamesTheFieldAndTheRouteThere) {
  ASSERT_TRUE(client.diagnostics_of(train_uri));
  // velocita,   10400,   100 is line 12; the position's digits stand at columns 12 to 16.
  const json hover = request(2, "textDocument/hover", train_uri, {{"position", {{"line", 11}, {"character", 14}}}});
  ASSERT_TRUE(hover.is_object()) << hover;
  const std::string text = hover["contents"]["value"];
  for (const std::string expected : {"**position** (m)", "line speed limit", "cell 208", "km 24.600"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected << " in\n" << text;
  }
}

TEST_F(BuiltInSession, CompletionOffersTheSectionsKeywordsAndTheFieldsStillToWrite) {
  ASSERT_TRUE(client.diagnostics_of(train_uri));
  const json at_line_start = request(2, "textDocument/completion", train_uri, {{"position", {{"line", 10}, {"character", 0}}}});
  const auto item = [](const json& items, const std::string& label) {
    for (const json& candidate : items) {
      if (candidate["label"] == label) return candidate;
    }
    return json();
  };
  EXPECT_EQ(item(at_line_start, "velocita")["insertText"], "velocita, ${1:position}, ${2:speed}");
  EXPECT_EQ(item(at_line_start, "[stazioni]")["kind"], 9);
  EXPECT_TRUE(item(at_line_start, "pendenza").is_null()) << "a line source's record";

  change(train_uri, train_with("velocita,    1300,   140", "velocita,    1300,"));
  const json after_position = request(3, "textDocument/completion", train_uri, {{"position", {{"line", 10}, {"character", 18}}}});
  ASSERT_EQ(after_position.size(), 1u) << after_position;
  EXPECT_EQ(after_position[0]["insertText"], "${1:speed}");
}

TEST_F(BuiltInSession, TheOutlineHoldsTheSectionsWithStationsAndSignals) {
  ASSERT_TRUE(client.diagnostics_of(train_uri));
  const json symbols = request(2, "textDocument/documentSymbol", train_uri);
  const auto section = [&symbols](const std::string& name) {
    for (const json& symbol : symbols) {
      if (symbol["name"] == name) return symbol;
    }
    return json();
  };
  ASSERT_TRUE(section("[stazioni]").is_object()) << symbols;
  EXPECT_EQ(section("[stazioni]")["children"].size(), 24u);
  EXPECT_EQ(section("[stazioni]")["children"][0]["name"], "DORVALLO");
  EXPECT_EQ(section("[segnali]")["children"].size(), 61u);
  EXPECT_EQ(section("[segnali]")["children"][0]["name"], "signal at 1500 m");
}

}  // namespace
}  // namespace scenario::testing
