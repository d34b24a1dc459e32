// What the page is made of, without a browser: the objects and the records
// behind them, the compiler's own points told apart, diagnostics pinned at
// their records, and data that cannot end its script element.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compile/post_pass.h"
#include "reader/read_sources.h"
#include "view/page.h"
#include "view/page_data.h"

namespace scenario::view {
namespace {

using Json = nlohmann::ordered_json;

struct Made {
  ReadResult read;
  RouteModel completed;
  Json data;
};

Made made_from(const std::string& line, const std::string& train, std::vector<PageDiagnostic> diagnostics = {}) {
  ReadOptions options = read_options("S", "T", 1);
  options.line_file = "S_linea.txt";
  options.train_file = "S_T-.txt";
  options.recover = true;
  options.keep_records = true;
  Made made{read_sources(line, train, options), {}, {}};
  made.completed = made.read.scenario;
  post_pass(made.completed);
  made.data = page_data({"S T", made.read.scenario, made.completed, made.read.report, std::move(diagnostics)});
  return made;
}

std::string line_with(const std::string& body) {
  return "[generale]\r\nlunghezza percorso, 20000\r\n[curve]\r\n" + body + "[fine]\r\n";
}
std::string train_with(const std::string& body) { return "[generale]\r\n" + body + "[fine]\r\n"; }

std::vector<Json> layer(const Json& data, const std::string& name) {
  std::vector<Json> objects;
  for (const Json& object : data["objects"]) {
    if (object["layer"] == name) objects.push_back(object);
  }
  return objects;
}

TEST(PageData, TheCompilersOwnReductionPointsComeFromNoRecord) {
  // A slowdown at 60 km/h: the pass puts points before its start and along it.
  const Made made = made_from(line_with(""), train_with("rallentamento, 8000, 60, 1200, 1, 1, 0\r\n"
                                                         "abbattimento, 3000, 80\r\n"));
  size_t automatic = 0;
  for (const Json& point : layer(made.data, "reduction")) {
    SCOPED_TRACE(point.dump());
    if (point["automatic"].get<bool>()) {
      ++automatic;
      EXPECT_TRUE(point["record"].is_null());
      EXPECT_EQ(point["stored"]["cell"]["p1"], 180);
    } else {
      EXPECT_EQ(point["record"]["line"], 3);
      EXPECT_EQ(point["from_m"], 3000);
    }
  }
  EXPECT_GE(automatic, 4u);  // three before the start, one along it at least
  const std::vector<Json> slowdowns = layer(made.data, "slowdown");
  ASSERT_EQ(slowdowns.size(), 1u);
  EXPECT_EQ(slowdowns[0]["from_m"], 8000);
  EXPECT_EQ(slowdowns[0]["record"]["record"], "slowdown");
}

TEST(PageData, EachObjectNamesTheRecordThatMadeIt) {
  const Made made = made_from(
      line_with("curvas3, 1000, 300\r\nmontagna, 2000, 2600, 1\r\ncartello_indicatore, 4000, \"PONTE\"\r\n"),
      train_with("segnale, 5000, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n"
                 "stazione, 9000, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 30, 11, 5, 0, VALTORNE\r\n"));
  const struct {
    std::string id;
    std::string record;  // the schema's name of its record
    std::string file;
    int line;
    int from_m;
    std::string label;
  } cases[] = {
      {"curve-1", "curve", "S_linea.txt", 4, 1000, "curve class 3 left"},
      {"tunnel-1", "tunnel", "S_linea.txt", 5, 2000, "tunnel 1"},
      {"board-1", "indication board", "S_linea.txt", 6, 4000, "indication board PONTE"},
      {"signal-1", "signal", "S_T-.txt", 2, 5000, "signal"},
      {"station-1", "station", "S_T-.txt", 3, 8800, "VALTORNE"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    Json found;
    for (const Json& object : made.data["objects"]) {
      if (object["id"] == c.id) found = object;
    }
    ASSERT_TRUE(found.is_object());
    EXPECT_EQ(found["record"]["record"], c.record);
    EXPECT_EQ(found["record"]["file"], c.file);
    EXPECT_EQ(found["record"]["line"], c.line);
    EXPECT_EQ(found["from_m"], c.from_m);
    EXPECT_EQ(found["label"], c.label);
    EXPECT_EQ(found["record"]["fields"][0]["name"], "keyword");
  }
}

TEST(PageData, ADiagnosticIsPinnedAtTheRecordOnItsLine) {
  const Made made = made_from(line_with(""), train_with("sabbia, 0\r\nsegnale, 5000, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n"),
                              {{Severity::kError, "S_T-.txt", 3, "S_T-.txt:3:10: error: ...\n"},
                               {Severity::kWarning, "S_T-.txt", 2, "a row without a place\n"},
                               {Severity::kWarning, "S_linea.txt", 0, "about the whole file\n"}});
  const Json& diagnostics = made.data["diagnostics"];
  ASSERT_EQ(diagnostics.size(), 3u);
  EXPECT_EQ(diagnostics[0]["at_m"], 5000);
  EXPECT_TRUE(diagnostics[1]["at_m"].is_null());
  EXPECT_TRUE(diagnostics[2]["at_m"].is_null());
  EXPECT_EQ(diagnostics[0]["severity"], "error");
}

TEST(Page, NoTextOfTheSourcesCanEndTheDataScriptOrBreakItsCodePage) {
  // A board text in Windows-1252 with a degree sign, and one that would close
  // the data's script element.
  const Made made = made_from(line_with("cartello_indicatore, 4000, 30\xB0 </script><b>x\r\n"), train_with(""));
  const std::string page = page_html(made.data);
  size_t closings = 0;
  for (size_t at = page.find("</script"); at != std::string::npos; at = page.find("</script", at + 1)) ++closings;
  EXPECT_EQ(closings, 3u);  // the error handler's, the data's and the page's own script
  EXPECT_NE(page.find("30\xC2\xB0 \\u003c/script>\\u003cb>x"), std::string::npos);
}

}  // namespace
}  // namespace scenario::view
