#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "lsp/editor_text.h"
#include "model/route_model.h"
#include "tool/diagnostic_list.h"

// The two sources of a scenario are read as a pair: a line source and a
// train source beside it. Each is the editor's buffer when it is open, else
// the file on disk.

namespace scenario::lsp {

struct ScenarioPair {
  std::string scenario;  // as the file names spell them (UTF-8)
  std::string train;     // empty when no train source was found
  std::filesystem::path line_source;
  std::filesystem::path train_source;  // empty when no train source was found
};

// The pair a source belongs to. A train source's line source is named by
// its scenario; a line source's train source is the first open one of its
// scenario in its directory, else the first on disk (by name). Nothing for
// a file whose name is no source's.
std::optional<ScenarioPair> pair_of(const std::filesystem::path& source,
                                    const std::vector<std::filesystem::path>& open_sources);

// The editor's buffer of a path, when it is open.
struct OpenBuffer {
  std::filesystem::path path;
  const EditorText* text = nullptr;
};

// One reading of a pair: the texts it read (nothing for a missing source),
// the scenario it read, and what check would list.
struct PairReading {
  ScenarioPair pair;
  std::optional<EditorText> line_text;
  std::optional<EditorText> train_text;
  RouteModel scenario;
  tool::DiagnosticList list;
};

// Reads the pair as check does: recovering, the plan trace built, the
// compiler's own checks after a reading without error. ProgramFault leaves.
PairReading read_pair(const ScenarioPair& pair, const std::vector<OpenBuffer>& open);

}  // namespace scenario::lsp
