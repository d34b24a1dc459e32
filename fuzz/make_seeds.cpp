// Writes the seed corpora of the fuzz targets from the built-in scenario:
// make_seeds DIR gives DIR/field_reader, DIR/memorizza_dati and
// DIR/inspect_decoders.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "compile/memorizza_percorso.h"
#include "format/cell_grid.h"
#include "format/entry_table.h"
#include "format/line_geometry.h"
#include "model/run_files.h"
#include "model/trace_walk.h"
#include "reader/read_sources.h"
#include "sources/builtin_sources.h"
#include "sources/line_table.h"

namespace {

// The field reader's input ends with the 8 bytes of its read plan: zero bytes
// read text only, 0x44 bytes alternate a text read and a number read.
constexpr char kAllText[8] = {};
const std::string kMixedPlan(8, '\x44');

// The decoders' seeds are the built-in files cut to a few cells and points:
// small inputs run fast, and every kind of value is there.
constexpr size_t kSeedCells = 200;
constexpr size_t kSeedPoints = 100;

void write(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The memorizza_dati target's input: flags, the line source's length as 4
// bytes little-endian, the line source, the train source.
std::string sources_input(const std::string& line, const std::string& train, bool write_trace) {
  std::string input(1, write_trace ? '\x01' : '\x00');
  for (int shift = 0; shift < 32; shift += 8) input += static_cast<char>((line.size() >> shift) & 0xFF);
  return input + line + train;
}

scenario::RouteModel builtin_model(const std::string& line, const std::string& train) {
  const auto options = scenario::read_options(std::string(scenario::kBuiltInScenario),
                                              std::string(scenario::kBuiltInTrain), scenario::kWithTrace);
  return scenario::read_sources(line, train, options).scenario;
}

void write_decoder_seeds(const std::filesystem::path& dir, const scenario::RouteModel& model) {
  scenario::Trace trace = scenario::trace_points(model.plan_trace);
  trace.x.resize(kSeedPoints);
  trace.y.resize(kSeedPoints);
  const scenario::Cells cells(model.cells.begin(), model.cells.begin() + static_cast<std::ptrdiff_t>(kSeedCells));
  write(dir / "line_geometry", scenario::encode_line_geometry(trace));
  write(dir / "entry_table", scenario::encode_entry_table(model.entries));
  write(dir / "cell_grid", scenario::encode_cell_grid(cells));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_seeds DIR\n";
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  const std::string line = scenario::table_text(scenario::line_source_table());
  const std::string train = scenario::table_text(scenario::train_source_table());
  for (const char* target : {"field_reader", "memorizza_dati", "inspect_decoders"}) {
    std::filesystem::create_directories(dir / target);
  }
  write(dir / "field_reader" / "line_text", line + std::string(kAllText, sizeof kAllText));
  write(dir / "field_reader" / "train_text", train + std::string(kAllText, sizeof kAllText));
  write(dir / "field_reader" / "line_mixed", line + kMixedPlan);
  write(dir / "field_reader" / "train_mixed", train + kMixedPlan);
  write(dir / "memorizza_dati" / "builtin_with_trace", sources_input(line, train, true));
  write(dir / "memorizza_dati" / "builtin_without_trace", sources_input(line, train, false));
  write_decoder_seeds(dir / "inspect_decoders", builtin_model(line, train));
  return 0;
}
