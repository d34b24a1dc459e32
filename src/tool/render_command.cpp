#include <cmath>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <variant>
#include <vector>

#include "compile/memorizza_percorso.h"
#include "compile/post_pass.h"
#include "inspect/file_set_check.h"
#include "inspect/scenario_file.h"
#include "io/replace_file.h"
#include "model/run_files.h"
#include "reader/memorizza_dati.h"
#include "render/route_drawing.h"
#include "tool/commands.h"
#include "tool/diagnostic.h"
#include "tool/render_command.h"
#include "tool/run_names.h"

namespace scenario::tool {
namespace {

inline constexpr double kMetresPerKilometre = 1000.0;

// A stretch the route does not hold: a bad command line for this scenario.
struct SpanRefused {
  std::string message;
};

std::optional<std::filesystem::file_time_type> modified(const std::filesystem::path& path) {
  std::error_code error;
  const auto time = std::filesystem::last_write_time(path, error);
  if (error) return std::nullopt;
  return time;
}

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

// Binary files older than a source were compiled before its last change:
// they draw a scenario the author no longer has. Sources that are missing
// (files handed on without them) say nothing.
void refuse_older_than_sources(const RunFiles& files, const RenderRequest& request) {
  for (const std::filesystem::path& source : {files.line_source, files.train_source}) {
    const auto written = modified(source);
    if (!written) continue;
    std::vector<std::string> stale;
    for (const std::filesystem::path& binary : {files.line_geometry, files.entry_table, files.cell_grid}) {
      const auto compiled = modified(binary);
      if (compiled && *compiled < *written) stale.push_back(binary.string());
    }
    if (stale.empty()) continue;
    const bool geometry_alone = stale.size() == 1 && stale.front() == files.line_geometry.string();
    throw ScenarioFileError(
        joined(stale) + ": older than " + source.string() + ", changed since; compile the scenario first (scenario compile --dir " +
        request.dir + " " + request.scenario + " " + request.train + ")" +
        (geometry_alone ? "; a compile with --no-trace leaves the geometry file as it was: delete it to draw without the plan"
                        : ""));
  }
}

// The grid as the readers left it, before the compiler's pass: from the
// sources when they are there and read without error, else by replaying
// the pass on the grid with every point of the pass's value taken out (a
// point of the author's at that value, where the pass would have put one,
// then passes for the compiler's).
Cells cells_before_pass(const RunFiles& files, const RenderRequest& request, const RouteModel& compiled) {
  if (std::filesystem::exists(files.line_source) && std::filesystem::exists(files.train_source)) {
    try {
      ReadResult read = memorizza_dati(
          files, read_options(stored_name(request.scenario), stored_name(request.train), kWithoutTrace),
          SourcePolicy::kKeep);
      if (read.report.error_code() == 0 && read.scenario.cells.size() == compiled.cells.size()) {
        return std::move(read.scenario.cells);
      }
    } catch (const ProgramFault&) {
      // The replay below does without the sources.
    }
  }
  RouteModel replay;
  replay.cells = compiled.cells;
  const auto placed_by_pass = [](const Cell& cell) {
    return cell.kind == kReductionValue && cell.p1 == kAutoPointValue;
  };
  for (Cell& cell : replay.cells) {
    if (placed_by_pass(cell)) cell.kind = kNothing;
  }
  post_pass(replay);
  Cells before = compiled.cells;
  for (size_t i = 0; i < before.size(); ++i) {
    if (placed_by_pass(before[i]) && placed_by_pass(replay.cells[i])) before[i].kind = kNothing;
  }
  return before;
}

std::string km_text(double km) {
  std::ostringstream text;
  text << km;
  return text.str();
}

// The stretch asked for, in metres; none for the whole route.
std::variant<std::optional<Span>, SpanRefused> span_of(const RenderRequest& request, int32_t route_length) {
  if (!request.from_km && !request.to_km) return std::optional<Span>{};
  const double route_km = route_length / kMetresPerKilometre;
  const double from = request.from_km.value_or(0.0);
  const double to = request.to_km.value_or(route_km);
  const std::string asked = "--from " + km_text(from) + " --to " + km_text(to);
  if (!std::isfinite(from) || !std::isfinite(to) || from >= to) {
    return SpanRefused{asked + ": the stretch must begin before it ends"};
  }
  if (from < 0 || to > route_km) {
    return SpanRefused{asked + ": the route runs from km 0 to km " + km_text(route_km)};
  }
  return std::optional<Span>{Span{static_cast<int32_t>(std::lrint(from * kMetresPerKilometre)),
                                  static_cast<int32_t>(std::lrint(to * kMetresPerKilometre))}};
}

}  // namespace

// Draws the compiled scenario from its three binary files; the image replaces
// any older file of that name only once it is complete.
int render(const RenderRequest& request) {
  if (names_refused("render", request.scenario, request.train)) return kBadCommandLine;
  try {
    const RunFiles files = run_files(request.dir, request.scenario, request.train);
    const RouteModel model = load_scenario(files);
    check_file_set(model, files);
    refuse_older_than_sources(files, request);
    const auto span = span_of(request, drawn_route_length(model));
    if (const auto* refused = std::get_if<SpanRefused>(&span)) {
      std::cerr << "scenario render: " << refused->message << "\n";
      return kBadCommandLine;
    }
    const Cells before = cells_before_pass(files, request, model);
    const RenderOptions options{.format = *image_format_for(request.output),
                                .width = request.width,
                                .height = request.height,
                                .span = std::get<std::optional<Span>>(span),
                                .paper = request.paper,
                                .cells_before_pass = &before};
    replace_file(request.output, render_route(model, options));
  } catch (const ScenarioFileError& e) {
    std::cerr << command_message("render", e.what());
    return kScenarioError;
  } catch (const std::system_error& e) {
    std::cerr << command_message("render", request.output + ": " + e.what());
    return kScenarioError;
  } catch (const std::runtime_error& e) {
    std::cerr << command_message("render", e.what());
    return kScenarioError;
  }
  return kSuccess;
}

}  // namespace scenario::tool
