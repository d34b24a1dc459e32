#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "format/line_geometry.h"
#include "inspect/json_stream.h"
#include "io/read_file.h"
#include "model/route_model.h"
#include "model/run_files.h"

namespace scenario {

// A scenario file that is missing, unreadable, of no known kind or damaged.
// The message names the file and, for a damaged one, the byte offset:
// "S_1.dat: byte 30: truncated or trailing bytes: ...".
class ScenarioFileError : public std::runtime_error {
 public:
  explicit ScenarioFileError(const std::string& what) : std::runtime_error(what) {}
};

// A line geometry file checked whole and kept as its bytes: its values are
// read where they lie whenever they are wanted, never copied out.
struct CheckedGeometry {
  FileBytes bytes;
  GeometryHalves halves;  // within bytes
};

// One scenario file decoded, of the kind its name says.
using ScenarioFileContents = std::variant<CheckedGeometry, std::array<Entry, kEntryCount>, Cells>;
ScenarioFileContents read_scenario_file(const std::filesystem::path& path);

// A file read and decoded, kept for its JSON view; the bytes of an entry
// table or a cell grid are let go.
struct DecodedFile {
  std::filesystem::path path;
  ScenarioFileKind kind;
  size_t bytes = 0;
  ScenarioFileContents contents;
};
DecodedFile decode_scenario_file(const std::filesystem::path& path);

// The JSON view of a decoded file, to be written one element at a time:
// "file", "format", "bytes", then what the format holds (see
// scenario_json.h). It refers to file, which must outlive it.
JsonMembers inspect_members(const DecodedFile& file, bool all);

// Reads and decodes one file and returns its whole JSON view.
nlohmann::ordered_json inspect_scenario_file(const std::filesystem::path& path, bool all);

// The three files of a compiled scenario decoded into a model: trace, entries
// and cells, with the scenario name and train number of rows 85 and 86. A
// missing line geometry file leaves the trace empty (a scenario compiled
// without it); a missing entry table or cell grid is an error.
RouteModel load_scenario(const RunFiles& files);

}  // namespace scenario
