// The subsystems under src/ depend on each other one way, from the front ends
// down to the model. Every library sees the whole of src/ on its include
// path, so the compiler lets an upward include through, and the linker does
// too until the day it closes a cycle: this test refuses one at once, naming
// the file, the line and the include.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "io/read_file.h"

namespace scenario {
namespace {

const std::filesystem::path kSourceTree = std::filesystem::path(PROJECT_SOURCE_DIR) / "src";

// The libraries each subsystem links, as target_link_libraries in its
// src/*/CMakeLists.txt names them. A subsystem may include the headers of what
// these reach, directly or through one another, and its own.
const std::map<std::string, std::vector<std::string>, std::less<>> kLinks = {
    {"memory", {}},
    {"model", {"memory"}},
    {"io", {"memory"}},
    {"format", {"model"}},
    {"sources", {"model", "io"}},
    {"reader", {"format", "model", "io"}},
    {"compile", {"reader", "format", "model", "io"}},
    {"documents", {"sources", "model"}},
    {"inspect", {"format", "model", "io"}},
    {"render", {"inspect", "format", "model"}},
    {"sanitize", {}},
    {"run", {"compile", "documents", "sources"}},
    // The view is a front end beside the tool, on the same reading; the
    // tool's view command writes and serves what it makes.
    {"view", {"compile", "reader", "format", "model"}},
    {"tool", {"compile", "sources", "inspect", "render", "view"}},
    // The language server sits beside the tool and uses its diagnostic
    // texts; nothing else includes it.
    {"lsp", {"tool"}},
};

// The subsystem itself and every subsystem its links reach.
std::set<std::string> reachable(std::string_view subsystem) {
  std::set<std::string> reached;
  std::vector<std::string> pending = {std::string(subsystem)};
  while (!pending.empty()) {
    const std::string next = pending.back();
    pending.pop_back();
    if (!reached.insert(next).second) continue;
    const auto links = kLinks.find(next);
    if (links != kLinks.end()) pending.insert(pending.end(), links->second.begin(), links->second.end());
  }
  return reached;
}

struct Violation {
  std::string file;
  size_t line = 0;
  std::string include;
  friend bool operator==(const Violation&, const Violation&) = default;
};

std::ostream& operator<<(std::ostream& out, const Violation& violation) {
  return out << violation.file << ":" << violation.line << ": #include \"" << violation.include << "\"";
}

// The header a line includes with quotes, or nothing: `#include "x/y.h"`,
// spaces allowed around the `#` as the preprocessor allows them.
std::string_view quoted_include(std::string_view line) {
  const auto skip_spaces = [&line] { line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size())); };
  skip_spaces();
  if (!line.starts_with('#')) return {};
  line.remove_prefix(1);
  skip_spaces();
  if (!line.starts_with("include")) return {};
  line.remove_prefix(std::string_view("include").size());
  skip_spaces();
  if (!line.starts_with('"')) return {};
  line.remove_prefix(1);
  return line.substr(0, line.find('"'));
}

// The subsystem whose header an include names ("reader/boards.h" names
// reader), or nothing for a header of no subsystem.
std::string_view included_subsystem(std::string_view include) {
  const size_t slash = include.find('/');
  if (slash == std::string_view::npos) return {};
  const std::string_view folder = include.substr(0, slash);
  return kLinks.contains(folder) ? folder : std::string_view{};
}

// The includes of text (the file `file` of subsystem) that name a header of a
// subsystem its links do not reach.
std::vector<Violation> upward_includes(std::string_view file, std::string_view subsystem, std::string_view text) {
  const std::set<std::string> allowed = reachable(subsystem);
  std::vector<Violation> violations;
  size_t number = 1;
  for (size_t start = 0; start < text.size(); ++number) {
    const size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view include = quoted_include(text.substr(start, end - start));
    const std::string_view target = included_subsystem(include);
    if (!target.empty() && !allowed.contains(std::string(target))) {
      violations.push_back({std::string(file), number, std::string(include)});
    }
    start = end + 1;
  }
  return violations;
}

TEST(Layering, AnIncludeOfASubsystemNotLinkedIsNamedWithItsLine) {
  const struct {
    std::string_view subsystem;
    std::string_view text;
    std::vector<Violation> found;
  } cases[] = {
      {"model", "#include <string>\n\n#include \"tool/commands.h\"\n", {{"x.h", 3, "tool/commands.h"}}},
      {"reader", "#include \"reader/boards.h\"\n#include \"compile/post_pass.h\"\n",
       {{"x.h", 2, "compile/post_pass.h"}}},
      {"io", "#include \"model/route_model.h\"\n", {{"x.h", 1, "model/route_model.h"}}},  // io links nothing
      {"documents", "  #  include \"reader/boards.h\"\n", {{"x.h", 1, "reader/boards.h"}}},
      {"tool", "#include \"model/route_model.h\"\n#include \"run/errore.h\"", {{"x.h", 2, "run/errore.h"}}},
      {"tool", "#include \"lsp/hover.h\"\n", {{"x.h", 1, "lsp/hover.h"}}},
      {"lsp", "#include \"tool/diagnostic_list.h\"\n#include \"reader/field_reader.h\"\n", {}},
      // Reached through a link of a link: render -> inspect -> io.
      {"render", "#include \"io/read_file.h\"\n#include \"render/canvas.h\"\n", {}},
      // Not includes of a subsystem's header.
      {"model", "// #include \"tool/commands.h\"\n#include <CLI/CLI.hpp>\n#include \"local.h\"\n", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(upward_includes("x.h", c.subsystem, c.text), c.found) << c.text;
}

TEST(Layering, EveryFolderOfTheSourceTreeIsInTheTable) {
  ASSERT_TRUE(std::filesystem::is_directory(kSourceTree)) << kSourceTree;
  for (const auto& entry : std::filesystem::directory_iterator(kSourceTree)) {
    if (!entry.is_directory()) continue;
    EXPECT_TRUE(kLinks.contains(entry.path().filename().string())) << entry.path();
  }
}

TEST(Layering, NoFileOfTheSourceTreeIncludesUpward) {
  ASSERT_TRUE(std::filesystem::is_directory(kSourceTree)) << kSourceTree;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(kSourceTree)) {
    const std::filesystem::path relative = entry.path().lexically_relative(kSourceTree);
    // Files at the top of src/ belong to no subsystem.
    if (!entry.is_regular_file() || relative.parent_path().empty()) continue;
    const std::string subsystem = relative.begin()->string();
    const std::string text = read_file(entry.path(), {.bytes = UINTMAX_MAX, .of = "a source file"}).str();
    const std::string file = (std::filesystem::path("src") / relative).string();
    for (const Violation& violation : upward_includes(file, subsystem, text)) {
      ADD_FAILURE() << violation << ": " << subsystem << " does not link " << included_subsystem(violation.include)
                    << ", directly or through its links";
    }
  }
}

}  // namespace
}  // namespace scenario
