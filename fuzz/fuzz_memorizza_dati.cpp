// The reading of an arbitrary line source and train source held in memory,
// followed by the compiler's work on whatever scenario it gives: the cell
// post-pass, the competition codes, the entry table and cell grid encoded. A
// refusal is an error of the result; anything else that escapes, and any
// touch outside an array, is a fault.
//
// With the recovering reading of scenario check and compile asked for, the
// strict reading of the package runs too, and the two must agree: the same
// scenario, the same recorded error, and that error among the recovering
// reading's diagnostics. A disagreement is a fault.
//
// Input: a flags byte whose low bit is write_trace (the plan trace) and
// whose next bit asks for the recovering reading, the length of the line
// source as 4 bytes little-endian (cut to what follows), the line source,
// then the train source. A length rather than a separator, so that any byte,
// NUL too, reaches either source.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "compile/competition_codes.h"
#include "compile/memorizza_percorso.h"
#include "compile/post_pass.h"
#include "format/cell_grid.h"
#include "format/coding.h"
#include "format/entry_table.h"
#include "model/route_model.h"
#include "reader/read_sources.h"

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
  std::string_view line;
  std::string_view train;
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
  input.line = sources.substr(0, line_length);
  input.train = sources.substr(input.line.size());
  return input;
}

bool same_place(const scenario::Diagnostic& a, const scenario::Diagnostic& b) {
  return a.severity == b.severity && a.code == b.code && a.site.file == b.site.file && a.site.line == b.site.line &&
         a.site.column == b.site.column && a.site.detail == b.site.detail;
}

// The recovering reading keeps the strict reading's scenario and error.
void check_agreement(const scenario::ReadResult& strict, const scenario::ReadResult& recovering) {
  if (!(strict.scenario == recovering.scenario)) __builtin_trap();
  if (strict.report.recorded.has_value() != recovering.report.recorded.has_value()) __builtin_trap();
  if (!strict.report.recorded) return;
  const scenario::Diagnostic& recorded = *strict.report.recorded;
  if (!same_place(recorded, *recovering.report.recorded)) __builtin_trap();
  const auto& listed = recovering.report.diagnostics;
  const auto same = [&recorded](const scenario::Diagnostic& d) { return same_place(d, recorded); };
  if (std::none_of(listed.begin(), listed.end(), same)) __builtin_trap();
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
  } catch (const scenario::TextTooLong&) {
    // A board or station name too long for its record is refused whole.
  }
  if (model.cells.size() <= kMostCellsEncoded) scenario::encode_cell_grid(model.cells);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzInput input = split({reinterpret_cast<const char*>(data), size});
  scenario::ReadOptions options = scenario::read_options(
      "Fuzz", "1", input.write_trace ? scenario::kWithTrace : scenario::kWithoutTrace);
  options.line_file = "Fuzz_linea.txt";
  options.train_file = "Fuzz_1-.txt";
  scenario::ReadResult strict = scenario::read_sources(input.line, input.train, options);
  if (input.recover) {
    options.recover = true;
    check_agreement(strict, scenario::read_sources(input.line, input.train, options));
  }
  compile_in_memory(strict.scenario);
  return 0;
}
