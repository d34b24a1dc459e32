#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "io/replace_file.h"
#include "sources/builtin_sources.h"
#include "support/run_program.h"
#include "support/source_fixtures.h"
#include "support/temp_dir.h"
#include "tool/tool_run.h"

namespace scenario {
namespace {

using testing::bytes_of;
using testing::kToolEnvironment;
using testing::run_program;
using testing::TempDir;
using testing::Outcome;
using testing::scenario_tool;
using testing::write_sources;

const char* const kBinaries[] = {"Dorvallo_Brisente_linea.dat", "Dorvallo_Brisente_47302.sim",
                                 "Dorvallo_Brisente_47302.dat"};

TEST(ToolCommandLine, HelpAndVersionGoToStdoutWithStatus0) {
  const Outcome help = scenario_tool({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* command : {"export", "new", "compile", "check", "inspect", "render", "view", "diff", "explain"}) {
    EXPECT_NE(help.out.find(command), std::string::npos) << command;
  }
  const Outcome version = scenario_tool({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_NE(version.out.find("scenario"), std::string::npos);
}

TEST(ToolCommandLine, BadCommandLinesGetUsageAndStatus2) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"frobnicate"},
      {"compile"},
      {"compile", "OnlyScenario"},
      {"compile", "--bogus", "S", "T"},
      {"export", "--name"},
      {"export", "--force", "extra"},
  };
  for (const auto& arguments : cases) {
    const Outcome outcome = scenario_tool(arguments);
    EXPECT_EQ(outcome.status, 2) << ::testing::PrintToString(arguments);
    EXPECT_FALSE(outcome.err.empty()) << ::testing::PrintToString(arguments);
  }
}

TEST(ToolExport, ReadmeFirstExampleWorksInAFreshDirectory) {
  TempDir dir;
  ASSERT_EQ(scenario_tool({"export", "--dir", "out"}, dir.path()).status, 0);
  const Outcome compiled = scenario_tool({"compile", "--dir", "out", "Dorvallo_Brisente", "47302"}, dir.path());
  EXPECT_EQ(compiled.status, 0) << compiled.err;
  for (const char* name : kBinaries) EXPECT_TRUE(std::filesystem::exists(dir / "out" / name)) << name;
}

// The texts are the built-in ones byte for byte whatever the names; the
// directory and its parents are made when missing.
TEST(ToolExport, WritesTheBuiltInTextsUnderTheNamesAsked) {
  struct Case {
    std::vector<std::string> options;
    std::string dir;
    std::string line_source;
    std::string train_source;
  };
  const Case cases[] = {
      {{}, ".", "Dorvallo_Brisente_linea.txt", "Dorvallo_Brisente_47302-.txt"},
      {{"--name", "Valle_Chiara"}, "out", "Valle_Chiara_linea.txt", "Valle_Chiara_47302-.txt"},
      {{"--train", "8811"}, "a/b/out", "Dorvallo_Brisente_linea.txt", "Dorvallo_Brisente_8811-.txt"},
      {{"--name", "Valle_Chiara", "--train", "8811"}, "out", "Valle_Chiara_linea.txt", "Valle_Chiara_8811-.txt"},
  };
  for (const Case& c : cases) {
    TempDir top;
    const std::filesystem::path dir = top / c.dir;
    std::vector<std::string> arguments = {"export", "--dir", dir.string()};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const Outcome outcome = scenario_tool(arguments);
    EXPECT_EQ(outcome.status, 0) << c.train_source << ": " << outcome.err;
    EXPECT_EQ(outcome.out + outcome.err, "");
    EXPECT_EQ(testing::names_in(dir), (std::set<std::string>{c.line_source, c.train_source}));
    EXPECT_EQ(bytes_of(dir / c.line_source), table_text(line_source_table()));
    EXPECT_EQ(bytes_of(dir / c.train_source), table_text(train_source_table()));
  }
}

// Both sources are looked at before either is written: without --force an
// existing one is named and nothing is written; with it both are replaced.
TEST(ToolExport, OverwritesAnExistingSourceOnlyWithForce) {
  const std::vector<std::vector<std::string>> cases = {
      {"Dorvallo_Brisente_linea.txt"},
      {"Dorvallo_Brisente_47302-.txt"},
      {"Dorvallo_Brisente_linea.txt", "Dorvallo_Brisente_47302-.txt"},
  };
  for (const auto& existing : cases) {
    TempDir dir;
    for (const std::string& name : existing) replace_file(dir / name, "edited by the author\r\n");
    const std::set<std::string> before = testing::names_in(dir.path());

    const Outcome refused = scenario_tool({"export", "--dir", dir.path().string()});
    EXPECT_EQ(refused.status, 1) << existing.size();
    for (const std::string& name : existing) {
      EXPECT_NE(refused.err.find((dir / name).string()), std::string::npos) << refused.err;
      EXPECT_EQ(bytes_of(dir / name), "edited by the author\r\n") << name;
    }
    EXPECT_EQ(testing::names_in(dir.path()), before);

    EXPECT_EQ(scenario_tool({"export", "--force", "--dir", dir.path().string()}).status, 0);
    EXPECT_EQ(bytes_of(dir / "Dorvallo_Brisente_linea.txt"), table_text(line_source_table()));
    EXPECT_EQ(bytes_of(dir / "Dorvallo_Brisente_47302-.txt"), table_text(train_source_table()));
  }
}

TEST(ToolCompile, BuiltInScenarioEqualsThePackageFilesAndKeepsTheSources) {
  TempDir tool_dir;
  ASSERT_EQ(scenario_tool({"export", "--dir", tool_dir.path().string()}).status, 0);
  const Outcome outcome =
      scenario_tool({"compile", "--dir", tool_dir.path().string(), "Dorvallo_Brisente", "47302"});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.out + outcome.err, "");
  EXPECT_TRUE(std::filesystem::exists(tool_dir / "Dorvallo_Brisente_linea.txt"));
  EXPECT_TRUE(std::filesystem::exists(tool_dir / "Dorvallo_Brisente_47302-.txt"));

  TempDir package_dir;
  std::filesystem::copy_file(PACKAGE_PROGRAM, package_dir / "dorvallo_brisente");
  ASSERT_EQ(testing::run_program((package_dir / "dorvallo_brisente").string(), {}, {"PATH=/usr/bin:/bin"}), 0);
  for (const char* name : kBinaries) {
    const auto compiled = bytes_of(tool_dir / name);
    ASSERT_TRUE(compiled.has_value()) << name;
    EXPECT_TRUE(compiled == bytes_of(package_dir / name)) << name;
  }
}

TEST(ToolCompile, NoTraceWritesNoGeometryFile) {
  TempDir dir;
  ASSERT_EQ(scenario_tool({"export", "--dir", dir.path().string()}).status, 0);
  EXPECT_EQ(scenario_tool({"compile", "--no-trace", "--dir", dir.path().string(), "Dorvallo_Brisente", "47302"})
                .status,
            0);
  EXPECT_FALSE(std::filesystem::exists(dir / kBinaries[0]));
  EXPECT_TRUE(std::filesystem::exists(dir / kBinaries[1]));
  EXPECT_TRUE(std::filesystem::exists(dir / kBinaries[2]));
}

// A line source whose second indication board lands in the first one's cell.
constexpr const char* kCollidingBoards =
    "[generale]\r\n"
    "lunghezza percorso,    20000\r\n"
    "[indicazioni]\r\n"
    "cartello_indicatore,  7150,   (SOTTOVIA)\r\n"
    "cartello_indicatore,  7175,   (PONTE)\r\n"
    "[fine]\r\n";
constexpr const char* kEmptyTrain = "[generale]\r\n[fine]\r\n";

TEST(ToolCompile, ReaderErrorPrintsFileLineAndCaretAndWritesNothing) {
  TempDir dir;
  write_sources(dir, kCollidingBoards, kEmptyTrain);
  const Outcome outcome = scenario_tool({"compile", "--dir", dir.path().string(), "S", "T"});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.out, "");
  // A warning says first that 7175 m stands as if at 7150 m.
  const size_t refused = outcome.err.find("\n" + (dir / "S_linea.txt").string() + ":5:23: error: ");
  ASSERT_NE(refused, std::string::npos) << outcome.err;
  const std::string headline = outcome.err.substr(refused + 1, outcome.err.find('\n', refused + 1) - refused - 1);
  EXPECT_TRUE(headline.ends_with(" [E6]")) << headline;
  EXPECT_TRUE(std::regex_search(outcome.err, std::regex("\ncartello_indicatore,  7175,   \\(PONTE\\)\n +\\^\n")))
      << outcome.err;
  EXPECT_FALSE(std::filesystem::exists(dir / "S_T.dat"));
  EXPECT_FALSE(std::filesystem::exists(dir / "S_T.sim"));
  EXPECT_FALSE(std::filesystem::exists(dir / "S_linea.dat"));
  EXPECT_TRUE(std::filesystem::exists(dir / "S_linea.txt"));  // the author's sources stay
  EXPECT_TRUE(std::filesystem::exists(dir / "S_T-.txt"));
}

TEST(ToolCompile, KeepGoingWritesThePartialModelAndStillFails) {
  TempDir dir;
  write_sources(dir, kCollidingBoards, kEmptyTrain);
  const Outcome outcome = scenario_tool({"compile", "--keep-going", "--dir", dir.path().string(), "S", "T"});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find(" [E6]\n"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(dir / "S_T.dat"));
  EXPECT_TRUE(std::filesystem::exists(dir / "S_T.sim"));
  EXPECT_TRUE(std::filesystem::exists(dir / "S_linea.dat"));
}

TEST(ToolCompile, MissingLineSourceIsError101) {
  TempDir dir;
  const Outcome outcome = scenario_tool({"compile", "--dir", dir.path().string(), "S", "T"});
  EXPECT_EQ(outcome.status, 1);
  const std::string path = (dir / "S_linea.txt").string();
  EXPECT_EQ(outcome.err, path + ": error: the line source " + path + " does not exist [E101]\n1 error\n");
}

// A name may hold control characters; printed, they are escaped as the echo
// of a source line escapes them, so that no name retitles the terminal.
TEST(ToolCompile, ControlCharactersOfNamesAndPathsArePrintedEscaped) {
  const std::string name = "a\x1b]0;TITLE\x07" "b";
  const std::string shown = "a\\x1b]0;TITLE\\x07b";
  TempDir dir;
  replace_file(dir / (name + "_linea.txt"), kCollidingBoards);
  replace_file(dir / (name + "_T-.txt"), kEmptyTrain);
  std::filesystem::create_directory(dir / name);
  const struct {
    std::vector<std::string> arguments;
    std::string says;
  } cases[] = {
      {{"compile", "--dir", dir.path().string(), name, "T"}, shown + "_linea.txt:5:23: error: "},
      {{"check", "--dir", dir.path().string(), name, "T"}, shown + "_linea.txt:5:23: error: "},
      {{"compile", "--dir", (dir / name).string(), "S", "T"}, shown + "/S_linea.txt does not exist [E101]"},
      {{"export", "--dir", dir.path().string(), "--name", name, "--train", "T"}, shown + "_linea.txt already exists"},
      {{"inspect", (dir / name / "S_1.sim").string()}, shown + "/S_1.sim"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.front());
    const Outcome outcome = scenario_tool(c.arguments);
    EXPECT_NE(outcome.err.find(c.says), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.err.find_first_of("\x1b\x07"), std::string::npos) << outcome.err;
  }
}

TEST(ToolCompile, ReservedMarkTakenIsFatal1250) {
  TempDir dir;
  // A speed board at 0 m takes the reserved cell 1.
  write_sources(dir,
                "[generale]\r\nlunghezza percorso, 20000\r\n[cartelli]\r\n"
                "indicatori_vmax,  0,  100,  100,  100,  0,  100,  100,  100,  0\r\n[fine]\r\n",
                kEmptyTrain);
  const Outcome outcome = scenario_tool({"compile", "--dir", dir.path().string(), "S", "T"});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, (dir / "S_linea.txt").string() +
                            ":4:1: error: cell 1 already holds a maximum-speed board, whose p1 = 2020 takes the "
                            "place of the reserved mark 5121; cell 1 is reserved, and an object within the route's "
                            "first 100 m lands in it: was a position written in kilometres where metres are meant? "
                            "[E1250]\n"
                            "indicatori_vmax,  0,  100,  100,  100,  0,  100,  100,  100,  0\n"
                            "^\n"
                            "1 error\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "S_T.dat"));
}

// Two tiny scenarios, the second with one signal more; each compiled in a
// directory of its own.
constexpr const char* kShortLine = "[generale]\r\nlunghezza percorso, 20000\r\n[fine]\r\n";
constexpr const char* kOneSignal = "[generale]\r\n[segnali]\r\nsegnale, 10500, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n[fine]\r\n";

TEST(ToolDiff, AnswersAsDiffDoesInAuthorTerms) {
  TempDir without;
  TempDir with;
  write_sources(without, kShortLine, kEmptyTrain);
  write_sources(with, kShortLine, kOneSignal);
  for (const TempDir* dir : {&without, &with}) {
    ASSERT_EQ(scenario_tool({"compile", "--no-trace", "--dir", dir->path().string(), "S", "T"}).status, 0);
  }
  const std::string grid_a = (with / "S_T.dat").string();
  const std::string grid_b = (without / "S_T.dat").string();

  const Outcome same = scenario_tool({"diff", grid_a, grid_a});
  EXPECT_EQ(same.status, 0);
  EXPECT_EQ(same.out, "");

  const Outcome changed = scenario_tool({"diff", grid_a, grid_b});
  EXPECT_EQ(changed.status, 1) << changed.err;
  EXPECT_NE(changed.out.find("cell 211 at 10500 m: signal \u2192 nothing\n"), std::string::npos) << changed.out;
  EXPECT_NE(changed.out.find("cell 209 at 10400 m: approach 31 \u2192 0\n"), std::string::npos) << changed.out;

  for (const auto& trouble : {std::vector<std::string>{"diff", grid_a, (with / "S_T.sim").string()},
                              std::vector<std::string>{"diff", grid_a, (with / "missing.dat").string()}}) {
    const Outcome outcome = scenario_tool(trouble);
    EXPECT_EQ(outcome.status, 2) << ::testing::PrintToString(trouble);
    EXPECT_FALSE(outcome.err.empty());
  }
}

TEST(ToolExplain, KnownNumbersAreExplainedAndOthersAreUsageErrors) {
  const Outcome known = scenario_tool({"explain", "16"});
  EXPECT_EQ(known.status, 0);
  EXPECT_EQ(known.out.rfind("error 16: A signal's cell already holds something.\n", 0), 0u) << known.out;
  for (const char* number : {"11", "0", "sixteen"}) {
    const Outcome unknown = scenario_tool({"explain", number});
    EXPECT_EQ(unknown.status, 2) << number;
    EXPECT_EQ(unknown.out, "") << number;
    EXPECT_FALSE(unknown.err.empty()) << number;
  }
}

// A compile with --no-trace leaves the geometry of the earlier, shorter route.
TEST(ToolRender, StaleGeometryIsRefusedByName) {
  TempDir dir;
  write_sources(dir, kShortLine, kEmptyTrain);
  ASSERT_EQ(scenario_tool({"compile", "--dir", dir.path().string(), "S", "T"}).status, 0);
  write_sources(dir, "[generale]\r\nlunghezza percorso, 30000\r\n[fine]\r\n", kEmptyTrain);
  ASSERT_EQ(scenario_tool({"compile", "--no-trace", "--dir", dir.path().string(), "S", "T"}).status, 0);
  const Outcome outcome =
      scenario_tool({"render", "--dir", dir.path().string(), "-o", (dir / "route.pdf").string(), "S", "T"});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find("S_linea.dat: stale"), std::string::npos) << outcome.err;
  EXPECT_FALSE(std::filesystem::exists(dir / "route.pdf"));

  std::filesystem::remove(dir / "S_linea.dat");
  EXPECT_EQ(scenario_tool({"render", "--dir", dir.path().string(), "-o", (dir / "route.pdf").string(), "S", "T"})
                .status,
            0);
  EXPECT_EQ(bytes_of(dir / "route.pdf").value_or("").rfind("%PDF-", 0), 0u);
}

// A source changed after the compile leaves the files of an older scenario:
// render names them and the newer source; without sources it draws as ever.
TEST(ToolRender, FilesOlderThanASourceAreRefused) {
  TempDir dir;
  write_sources(dir, kShortLine, kEmptyTrain);
  ASSERT_EQ(scenario_tool({"compile", "--dir", dir.path().string(), "S", "T"}).status, 0);
  const std::vector<std::string> render = {"render", "--dir", dir.path().string(), "-o", (dir / "route.svg").string(),
                                           "S", "T"};
  ASSERT_EQ(scenario_tool(render).status, 0);
  std::filesystem::last_write_time(dir / "S_T-.txt",
                                   std::filesystem::last_write_time(dir / "S_T.dat") + std::chrono::seconds(5));
  std::filesystem::remove(dir / "route.svg");
  const Outcome stale = scenario_tool(render);
  EXPECT_EQ(stale.status, 1);
  for (const char* named : {"S_linea.dat", "S_T.sim", "S_T.dat", "older than", "S_T-.txt", "compile"}) {
    EXPECT_NE(stale.err.find(named), std::string::npos) << named << " in " << stale.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "route.svg"));

  std::filesystem::remove(dir / "S_T-.txt");
  std::filesystem::remove(dir / "S_linea.txt");
  EXPECT_EQ(scenario_tool(render).status, 0);
  EXPECT_NE(bytes_of(dir / "route.svg").value_or("").find("<text"), std::string::npos);
}

TEST(ToolRender, StretchAndPaperOutsideWhatTheyMayBeAreBadCommandLines) {
  TempDir dir;
  write_sources(dir, kShortLine, kEmptyTrain);
  ASSERT_EQ(scenario_tool({"compile", "--dir", dir.path().string(), "S", "T"}).status, 0);
  const std::string out = (dir / "route.pdf").string();
  const struct {
    std::vector<std::string> options;
    int status;
    const char* said;
  } cases[] = {
      {{"--from", "0.5", "--to", "1.25"}, 0, ""},
      {{"--to", "1"}, 0, ""},
      {{"--from", "1.5", "--to", "1"}, 2, "must begin before it ends"},
      {{"--from", "1", "--to", "1"}, 2, "must begin before it ends"},
      {{"--to", "999"}, 2, "the route runs from km 0 to km"},
      {{"--from", "-1"}, 2, "the route runs from km 0 to km"},
      {{"--from", "one"}, 2, "--from"},
      {{"--paper", "a3"}, 0, ""},
      {{"--paper", "letter"}, 2, "a4 or a3"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = {"render", "--dir", dir.path().string(), "-o", out};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    arguments.insert(arguments.end(), {"S", "T"});
    const Outcome outcome = scenario_tool(arguments);
    EXPECT_EQ(outcome.status, c.status) << ::testing::PrintToString(c.options) << outcome.err;
    EXPECT_NE(outcome.err.find(c.said), std::string::npos) << outcome.err;
  }
}

// Only the drawing program loads the drawing libraries: every other command
// starts with no shared library at all (the C and C++ runtimes alone in the
// sanitizer builds, whose runtimes are shared libraries). Without its drawing
// program beside it, render says so as a fault of the installation.
TEST(ToolRender, DrawsInAProgramOfItsOwn) {
  const bool linked_statically = std::string_view(SCENARIO_LINK_OPTIONS).find("-static") != std::string_view::npos;
  TempDir listing;
  ASSERT_EQ(run_program("/usr/bin/ldd", {SCENARIO_PROGRAM}, kToolEnvironment, std::chrono::seconds(30),
                        (listing / "out").string(), (listing / "err").string()),
            0);
  const std::string libraries = bytes_of(listing / "out").value_or("") + bytes_of(listing / "err").value_or("");
  EXPECT_NE(libraries.find(linked_statically ? "statically linked" : "libc.so"), std::string::npos) << libraries;
  EXPECT_EQ(libraries.find("cairo"), std::string::npos) << libraries;

  TempDir alone;
  std::filesystem::copy_file(SCENARIO_PROGRAM, alone / "scenario");
  std::filesystem::permissions(alone / "scenario", std::filesystem::perms::owner_all);
  const std::string err = (alone / "err").string();
  const auto status = run_program((alone / "scenario").string(), {"render", "-o", "x.svg", "S", "T"},
                                  kToolEnvironment, std::chrono::seconds(30), "", err, alone.path().string());
  EXPECT_EQ(status, 3);
  EXPECT_NE(bytes_of(err).value_or("").find("cannot start the drawing program " + (alone / "scenario-render").string() +
                                            ": No such file or directory"),
            std::string::npos);
}

}  // namespace
}  // namespace scenario
