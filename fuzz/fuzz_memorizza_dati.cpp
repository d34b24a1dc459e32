// memorizza_dati over an arbitrary line source and train source, followed by
// the compiler's work on whatever model the readers leave: the cell post-pass,
// the competition codes, the entry table and cell grid encoded in memory. A refusal is an
// error number in the model; anything else that escapes, and any touch outside
// an array, is a fault.
//
// Input: the line source, a NUL byte, the train source, and a last byte whose
// low bit is write_trace (the plan trace and its file) and whose next bit
// asks for the recovering reading of scenario check.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "compile/competition_codes.h"
#include "compile/memorizza_percorso.h"
#include "compile/post_pass.h"
#include "format/cell_grid.h"
#include "format/entry_table.h"
#include "model/route_model.h"
#include "model/run_files.h"
#include "reader/memorizza_dati.h"

namespace {

constexpr char kSourceSeparator = '\0';

// One directory per fuzzing process for the two sources, removed at its end.
const std::filesystem::path& work_dir() {
  static const std::filesystem::path dir = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "scenario-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(work_dir(), ignored);
    });
    return std::filesystem::path(pattern);
  }();
  return dir;
}

void write(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void compile_in_memory(scenario::RouteModel& model) {
  scenario::post_pass(model);
  if (model.cells.size() <= static_cast<size_t>(scenario::kReservedCell)) return;
  model.entries[scenario::kScenarioRow].long4 = scenario::codice_gara_st(model);
  model.cells[scenario::kReservedCell].p2 = scenario::codice_gara_og(model);
  // The geometry file is left out: whatever the sources say, encoding it is
  // one fixed walk over the trace, and it would take most of the time.
  try {
    scenario::encode_entry_table(model.entries);
  } catch (const std::length_error&) {
    // A board or station name too long for its record is refused whole.
  }
  scenario::encode_cell_grid(model.cells);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  // Bit 0 asks for the plan trace, bit 1 for the recovering reading of
  // scenario check, which goes on after every refused record.
  const auto flags = provider.ConsumeIntegral<uint8_t>();
  const bool write_trace = (flags & 1) != 0;
  const std::string sources = provider.ConsumeRemainingBytesAsString();
  const size_t split = sources.find(kSourceSeparator);
  const std::string line = sources.substr(0, split);
  const std::string train = split == std::string::npos ? std::string{} : sources.substr(split + 1);

  scenario::RouteModel model;
  model.scenario_name = "Fuzz";
  model.train_number = "1";
  model.write_trace = write_trace ? scenario::kWithTrace : scenario::kWithoutTrace;
  model.notes.recover = (flags & 2) != 0;
  const scenario::RunFiles files = scenario::run_files(work_dir(), model.scenario_name, model.train_number);
  write(files.line_source, line);
  write(files.train_source, train);
  scenario::reset_entries(model);
  scenario::memorizza_dati(model, files, scenario::SourcePolicy::kDelete);
  // Every path out of the readers leaves at most the unread train source.
  if (std::filesystem::exists(files.line_source)) __builtin_trap();
  compile_in_memory(model);
  return 0;
}
