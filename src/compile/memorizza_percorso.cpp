#include "compile/memorizza_percorso.h"

#include "compile/competition_codes.h"
#include "compile/post_pass.h"
#include "compile/scenario_files.h"
#include "reader/reader_context.h"

namespace scenario {
namespace {

std::string reader_error_text(const ReadReport& read) {
  std::string text = "error " + std::to_string(read.error_code()) + " while reading the sources";
  if (read.recorded && !read.recorded->site.detail.empty()) text += ": " + read.recorded->site.detail;
  return text;
}

// The marks and codes live in cell 1. A grid too short to have it is never
// sealed and no file is written: when a reader error explains the missing
// grid (no line source, no length row) that error is the one reported, even
// for a caller that writes despite reader errors, since a scenario without
// its cell grid is no scenario.
void require_reserved_cell(const RouteModel& model, const ReadReport& read) {
  if (model.cells.size() > static_cast<size_t>(kReservedCell)) return;
  if (read.error_code() != 0) throw FatalError(read.error_code(), reader_error_text(read));
  throw FatalError(kMarkTaken, "the cell grid has no cell 1 to hold the mark " + std::to_string(kCellMark));
}

// A reserved place of row 85 is taken.
FatalError row_taken(ErrorCode code, std::string_view field, int64_t value, const std::string& place_of) {
  return FatalError(code, "row " + std::to_string(kScenarioRow) + " " + std::string(field) + " holds " +
                              std::to_string(value) + ", the place of " + place_of);
}

// A reserved place of cell 1 is taken: what holds it and, when a record of
// the sources put it there, that record.
FatalError cell_taken_by(const RouteModel& model, const SourceOrigins& origins, ErrorCode code,
                         std::string_view field, int16_t value, const std::string& place_of) {
  ErrorSite site = origins.reserved_cell;
  site.detail = cell_taken(kReservedCell, model.cells[kReservedCell]) + ", whose " + std::string(field) + " = " +
                std::to_string(value) + " takes the place of " + place_of +
                "; cell 1 is reserved, and an object within the route's first 100 m lands in it: was a position "
                "written in kilometres where metres are meant?";
  return FatalError(code, site.detail, site.line > 0 ? site : ErrorSite{});
}

void stamp_marks(RouteModel& model, const SourceOrigins& origins) {
  Entry& row = model.entries[kScenarioRow];
  Cell& cell = model.cells[kReservedCell];
  if (row.short1 != 0) throw row_taken(kMarkTaken, "short1", row.short1, "the reserved mark " + std::to_string(kScenarioMark));
  if (cell.p1 != 0) throw cell_taken_by(model, origins, kMarkTaken, "p1", cell.p1, "the reserved mark " + std::to_string(kCellMark));
  row.short1 = kScenarioMark;
  cell.p1 = kCellMark;
}

// The weighted code goes into the entry table, the plain one into the grid.
void store_codes(RouteModel& model, const SourceOrigins& origins) {
  Entry& row = model.entries[kScenarioRow];
  Cell& cell = model.cells[kReservedCell];
  if (row.long4 != 0) throw row_taken(kCodeTaken, "long4", row.long4, "the weighted competition code");
  if (cell.p2 != 0) throw cell_taken_by(model, origins, kCodeTaken, "p2", cell.p2, "the plain competition code");
  row.long4 = codice_gara_st(model);
  cell.p2 = codice_gara_og(model);
}

}  // namespace

ReadReport memorizza_percorso(RouteModel& model, int32_t j, const RunFiles& files, CompileOptions options) {
  ReadResult read =
      memorizza_dati(files, read_options(model.scenario_name, model.train_number, j), options.sources);
  model = std::move(read.scenario);
  seal_and_write(model, read.report, files, options);
  return std::move(read.report);
}

void seal(RouteModel& model, const ReadReport& read) {
  post_pass(model);
  require_reserved_cell(model, read);
  stamp_marks(model, read.origins);
  store_codes(model, read.origins);
}

void seal_and_write(RouteModel& model, const ReadReport& read, const RunFiles& files, CompileOptions options) {
  seal(model, read);
  // Writing a half-read model would pass a broken scenario off as a compiled
  // one; only a caller that asks for it gets the files.
  if (read.error_code() != 0 && !options.write_despite_reader_error) {
    throw FatalError(read.error_code(), reader_error_text(read) + "; no scenario file written");
  }
  write_scenario_files(model, files);
}

}  // namespace scenario
