// The page as a browser shows it: headless Chromium opens the pages the tool
// writes and its dumped document or its screenshot is looked at.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "render/png_pixels.h"
#include "view/devtools_pipe.h"
#include "view/view_run.h"

namespace scenario::testing {
namespace {

const std::string kBuiltIn = "Dorvallo_Brisente";
const std::string kBuiltInTrain = "47302";

#define SKIP_WITHOUT_CHROMIUM() \
  if (!std::filesystem::exists(kChromium)) GTEST_SKIP() << kChromium << " is not installed (Debian's chromium)"

// Text as the browser writes it back into a dumped document.
std::string html_escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else out += c;
  }
  return out;
}

std::string attribute(const std::string& dom, const std::string& name) {
  std::smatch found;
  if (!std::regex_search(dom, found, std::regex(name + "=\"([^\"]*)\""))) return "(none)";
  return found[1];
}

// The ids the page lists as in view.
std::set<std::string> listed_in_view(const std::string& dom) {
  std::set<std::string> ids;
  const std::regex item("<li data-id=\"([^\"]+)\"");
  for (auto it = std::sregex_iterator(dom.begin(), dom.end(), item); it != std::sregex_iterator(); ++it) {
    ids.insert((*it)[1]);
  }
  return ids;
}

// The built-in scenario's page, written once for the tests that open it.
class BuiltInPage : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    ASSERT_EQ(scenario({"export", "--dir", dir_->path().string()}).status, 0);
    const Ran view = scenario({"view", "--dir", dir_->path().string(), kBuiltIn, kBuiltInTrain});
    ASSERT_EQ(view.status, 0) << view.err;
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  static std::filesystem::path page() { return *dir_ / (kBuiltIn + "_" + kBuiltInTrain + ".html"); }
  static nlohmann::json data() { return page_data_of(bytes_of(page()).value_or("")); }
  // The page's object of that id; null when there is none.
  static nlohmann::json object_of(std::string_view id) {
    const nlohmann::json page_data = data();
    for (const auto& object : page_data["objects"]) {
      if (object["id"] == std::string(id)) return object;
    }
    return nullptr;
  }

  static TempDir* dir_;
};

TempDir* BuiltInPage::dir_ = nullptr;

TEST_F(BuiltInPage, LoadsWithoutAScriptErrorAndNamesEveryStation) {
  SKIP_WITHOUT_CHROMIUM();
  const std::string dom = dumped_dom(file_url(page()));
  EXPECT_EQ(attribute(dom, "data-ready"), "yes");
  EXPECT_EQ(attribute(dom, "data-errors"), "");
  size_t stations = 0;
  const nlohmann::json objects = data()["objects"];
  for (const auto& object : objects) {
    if (object["layer"] != "station") continue;
    ++stations;
    EXPECT_NE(dom.find(">" + html_escaped(object["label"].get<std::string>()) + "<"), std::string::npos)
        << object["label"];
  }
  EXPECT_EQ(stations, 24u);
  EXPECT_NE(dom.find("no error, no warning"), std::string::npos);
}

TEST_F(BuiltInPage, AKilometreRangeInTheAddressShowsJustThatStretch) {
  SKIP_WITHOUT_CHROMIUM();
  const struct {
    const char* hash;
    double from_m;
    double to_m;
  } cases[] = {{"#km=12.0-15.5", 12000, 15500}, {"#km=60-61", 60000, 61000}, {"#km=0.5-3", 500, 3000}};
  const nlohmann::json objects = data()["objects"];
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hash);
    std::set<std::string> expected;
    for (const auto& object : objects) {
      if (object["from_m"].get<double>() <= c.to_m && object["to_m"].get<double>() >= c.from_m) {
        expected.insert(object["id"].get<std::string>());
      }
    }
    ASSERT_FALSE(expected.empty());
    const std::string dom = dumped_dom(file_url(page(), c.hash));
    EXPECT_EQ(attribute(dom, "data-errors"), "");
    EXPECT_EQ(listed_in_view(dom), expected);
  }
}

TEST_F(BuiltInPage, ASelectedSignalShowsItsRecordsLineAndFields) {
  SKIP_WITHOUT_CHROMIUM();
  const nlohmann::json signal = object_of("signal-3");
  ASSERT_TRUE(signal.is_object());
  const nlohmann::json& record = signal["record"];
  ASSERT_TRUE(record.is_object());
  const std::string dom = dumped_dom(file_url(page(), "#select=signal-3"));
  EXPECT_EQ(attribute(dom, "data-errors"), "");
  EXPECT_NE(dom.find("Source record: " + record["file"].get<std::string>() + ":" +
                     std::to_string(record["line"].get<int>())),
            std::string::npos);
  EXPECT_NE(dom.find("<pre class=\"record-line\">" + html_escaped(record["text"].get<std::string>()) + "</pre>"),
            std::string::npos);
  // Fields by the schema's names, the compiler's cell beside them.
  for (const char* shown : {"<th>posizione</th>", "<th>tempo</th>", "<th>cell.holds</th><td>a signal</td>"}) {
    EXPECT_NE(dom.find(shown), std::string::npos) << shown;
  }
}

// The value of a script expression in the page, or null.
nlohmann::json evaluated(DevToolsBrowser& browser, const std::string& session, const std::string& expression) {
  const auto result =
      browser.call("Runtime.evaluate", {{"expression", expression}, {"returnByValue", true}}, session);
  if (!result || !result->contains("result")) return nullptr;
  return (*result)["result"].value("value", nlohmann::json());
}

bool eventually_equal(DevToolsBrowser& browser, const std::string& session, const std::string& expression,
                      const nlohmann::json& wanted) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < deadline) {
    if (evaluated(browser, session, expression) == wanted) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

// A real click, as the mouse gives it, on a signal drawn on the page.
TEST_F(BuiltInPage, AClickOnASignalShowsItsRecordsLine) {
  SKIP_WITHOUT_CHROMIUM();
  const nlohmann::json signal = object_of("signal-3");
  ASSERT_TRUE(signal.is_object());
  const double at_km = signal["from_m"].get<double>() / 1000;
  TempDir profile;
  DevToolsBrowser browser(kChromium, profile);
  const auto targets = browser.call("Target.getTargets");
  ASSERT_TRUE(targets.has_value());
  std::string page_target;
  for (const auto& target : (*targets)["targetInfos"]) {
    if (target["type"] == "page") page_target = target["targetId"];
  }
  ASSERT_FALSE(page_target.empty());
  const auto attached = browser.call("Target.attachToTarget", {{"targetId", page_target}, {"flatten", true}});
  ASSERT_TRUE(attached.has_value());
  const std::string session = (*attached)["sessionId"];
  const std::string hash = "#km=" + std::to_string(at_km - 0.5) + "-" + std::to_string(at_km + 0.5);
  ASSERT_TRUE(browser.call("Page.navigate", {{"url", file_url(page(), hash)}}, session).has_value());
  ASSERT_TRUE(eventually_equal(browser, session, "document.body && document.body.getAttribute('data-ready')", "yes"));

  const nlohmann::json centre = evaluated(browser, session,
      "(() => { const r = document.querySelector('g[data-id=\"signal-3\"] circle').getBoundingClientRect();"
      " return [r.x + r.width / 2, r.y + r.height / 2]; })()");
  ASSERT_TRUE(centre.is_array()) << centre;
  for (const char* type : {"mouseMoved", "mousePressed", "mouseReleased"}) {
    ASSERT_TRUE(browser
                    .call("Input.dispatchMouseEvent",
                          {{"type", type}, {"x", centre[0]}, {"y", centre[1]}, {"button", "left"}, {"clickCount", 1}},
                          session)
                    .has_value());
  }
  EXPECT_TRUE(eventually_equal(browser, session,
                               "(document.querySelector('#details .record-line') || {}).textContent || ''",
                               signal["record"]["text"]));
  EXPECT_TRUE(eventually_equal(browser, session, "location.hash.includes('select=signal-3')", true));
  EXPECT_EQ(evaluated(browser, session, "document.body.getAttribute('data-errors')"), "");
}

TEST_F(BuiltInPage, AScreenshotIsOfTheWindowsSizeAndNotBlank) {
  SKIP_WITHOUT_CHROMIUM();
  TempDir profile;
  const std::filesystem::path shot = profile / "shot.png";
  chromium(profile, {"--hide-scrollbars", "--window-size=1200,800", "--screenshot=" + shot.string(),
                     file_url(page(), "#km=10-20")});
  const std::optional<std::string> png = bytes_of(shot);
  ASSERT_TRUE(png.has_value());
  const PngPixels pixels = decode_png(*png);
  EXPECT_EQ(pixels.width, 1200);
  EXPECT_EQ(pixels.height, 800);
  EXPECT_GT(std::set<uint32_t>(pixels.rgb.begin(), pixels.rgb.end()).size(), 20u);
}

// A scenario of one's own, with a warning and an error in its train source:
// both are listed as check prints them, and pinned where their records stand.
TEST(OwnScenarioPage, ListsChecksDiagnosticsAndPinsThemAtTheirRecords) {
  SKIP_WITHOUT_CHROMIUM();
  TempDir dir;
  ASSERT_EQ(scenario({"new", "--dir", dir.path().string(), "Valle", "12"}).status, 0);
  const std::filesystem::path train = dir / "Valle_12-.txt";
  std::string text = bytes_of(train).value_or("");
  const size_t end = text.rfind("[fine]");
  ASSERT_NE(end, std::string::npos);
  // A line speed that goes back (a warning), and a second signal on the
  // first one's cell (an error).
  text.insert(end, "velocita, 0, 120\r\nsegnale, 2500, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n"
                   "segnale, 2500, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n");
  {
    std::ofstream out(train, std::ios::binary);
    out << text;
  }
  const Ran check = scenario({"check", "--dir", dir.path().string(), "Valle", "12"});
  ASSERT_EQ(check.status, 1) << check.err;
  const Ran view = scenario({"view", "--dir", dir.path().string(), "-o", (dir / "page.html").string(), "Valle", "12"});
  ASSERT_EQ(view.status, 0) << view.err;
  const std::string dom = dumped_dom(file_url(dir / "page.html"));
  EXPECT_EQ(attribute(dom, "data-errors"), "");
  // The first line of each message check printed.
  const std::regex message("(^|\n)([^\n]*: (error|warning): [^\n]*)");
  size_t messages = 0;
  for (auto it = std::sregex_iterator(check.err.begin(), check.err.end(), message); it != std::sregex_iterator();
       ++it, ++messages) {
    EXPECT_NE(dom.find(html_escaped((*it)[2])), std::string::npos) << (*it)[2];
  }
  EXPECT_GT(messages, 0u);
  EXPECT_NE(dom.find("class=\"object pin\""), std::string::npos);
  // The station names of the scenario written by new.
  const nlohmann::json objects = page_data_of(bytes_of(dir / "page.html").value_or(""))["objects"];
  for (const auto& object : objects) {
    if (object["layer"] == "station") {
      EXPECT_NE(dom.find(html_escaped(object["label"].get<std::string>())), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace scenario::testing
