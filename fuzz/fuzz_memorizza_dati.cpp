// memorizza_dati over an arbitrary line source and train source held in
// memory, followed by the compiler's work on whatever model the readers
// leave: the cell post-pass, the competition codes, the entry table and cell
// grid encoded. A refusal is an error number in the model; anything else that
// escapes, and any touch outside an array, is a fault.
//
// Input: a flags byte whose low bit is write_trace (the plan trace) and
// whose next bit asks for the recovering reading of scenario check, the
// length of the line source as 4 bytes little-endian (cut to what follows),
// the line source, then the train source. A length rather than a separator,
// so that any byte, NUL too, reaches either source.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "compile/competition_codes.h"
#include "compile/memorizza_percorso.h"
#include "compile/post_pass.h"
#include "format/cell_grid.h"
#include "format/entry_table.h"
#include "model/route_model.h"
#include "model/run_files.h"
#include "reader/memorizza_dati.h"

namespace {

constexpr size_t kFlagsBytes = 1;
constexpr size_t kLengthBytes = 4;
constexpr uint8_t kTraceFlag = 1;
constexpr uint8_t kRecoverFlag = 2;
constexpr int kBitsPerByte = 8;
// Encoding is one uniform loop over the cells; past this many it would take
// most of the time of a long route's run and find nothing new.
constexpr size_t kMostCellsEncoded = 2000;

struct FuzzInput {
  bool write_trace = false;
  bool recover = false;
  scenario::SourceTexts texts;
};

FuzzInput split(std::string_view bytes) {
  FuzzInput input;
  if (bytes.size() < kFlagsBytes + kLengthBytes) return input;
  const auto flags = static_cast<uint8_t>(bytes[0]);
  input.write_trace = (flags & kTraceFlag) != 0;
  input.recover = (flags & kRecoverFlag) != 0;
  size_t line_length = 0;
  for (size_t i = 0; i < kLengthBytes; ++i) {
    line_length |= size_t{static_cast<uint8_t>(bytes[kFlagsBytes + i])} << (kBitsPerByte * i);
  }
  const std::string_view sources = bytes.substr(kFlagsBytes + kLengthBytes);
  input.texts.line = sources.substr(0, line_length);
  input.texts.train = sources.substr(input.texts.line.size());
  return input;
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
  if (model.cells.size() <= kMostCellsEncoded) scenario::encode_cell_grid(model.cells);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzInput input = split({reinterpret_cast<const char*>(data), size});
  scenario::RouteModel model;
  model.scenario_name = "Fuzz";
  model.train_number = "1";
  model.write_trace = input.write_trace ? scenario::kWithTrace : scenario::kWithoutTrace;
  model.notes.recover = input.recover;
  static const scenario::RunFiles files = scenario::run_files({}, model.scenario_name, model.train_number);
  scenario::reset_entries(model);
  scenario::memorizza_dati(model, files, input.texts);
  compile_in_memory(model);
  return 0;
}
