#include "lsp/position_facts.h"

#include <array>
#include <cstdio>

#include "format/scenario_format.h"
#include "model/windows1252.h"

namespace scenario::lsp {
namespace {

constexpr int32_t kSpeedStep = 5;      // km/h of a cell's speed_limit
constexpr int32_t kGradientBias = 100;  // a cell's gradient is per mille plus this
constexpr int64_t kMetresPerKm = 1000;

// The systems in the order of their starts, as the reader sorts them.
constexpr std::array<int, 3> kSystemRows = {kProgressiveUnoRow, kProgressiveDueRow, kProgressiveTreRow};

std::string kilometres(int64_t metres) {
  const int64_t whole = metres / kMetresPerKm;
  const int64_t rest = (metres < 0 ? -metres : metres) % kMetresPerKm;
  char text[40];
  std::snprintf(text, sizeof text, "km %s%lld.%03lld", metres < 0 && whole == 0 ? "-" : "",
                static_cast<long long>(whole), static_cast<long long>(rest));
  return text;
}

std::string kilometre_lines(const RouteModel& model, int64_t p) {
  std::string lines;
  int number = 0;
  for (const int row : kSystemRows) {
    const ProgressiveSystem s = get_progressive_system(model.entries[static_cast<size_t>(row)]);
    if (s.start == 0 && s.offset == 0 && s.direction == 0) continue;
    ++number;
    const int64_t offset = decode_numbering_offset(s.direction, s.offset);
    if (s.direction != kGrowingNumbering && s.direction != kFallingNumbering) continue;
    const int64_t reading = s.direction == kGrowingNumbering ? p + offset : offset - p;
    lines += "- progressive system " + std::to_string(number) + " (from " + std::to_string(s.start) +
             " m): " + kilometres(reading) + (s.start <= p ? "" : ", not yet in force") + "\n";
  }
  return lines;
}

std::string cell_lines(const RouteModel& model, int64_t p) {
  if (p < 0 || p / kCellLength >= static_cast<int64_t>(model.cells.size())) return "- beyond the route's cells\n";
  const int64_t index = p / kCellLength;
  const Cell& cell = model.cells[static_cast<size_t>(index)];
  return "- cell " + std::to_string(index) + " (" + std::to_string(index * kCellLength) + " to " +
         std::to_string((index + 1) * kCellLength) + " m)\n- gradient " +
         std::to_string(int32_t{cell.gradient} - kGradientBias) + " ‰\n- line speed limit " +
         std::to_string(int32_t{cell.speed_limit} * kSpeedStep) + " km/h\n";
}

std::string station_lines(const RouteModel& model, int64_t p) {
  std::string lines;
  for (int row = kFirstStationRow; row < kBoardTop; ++row) {
    const Entry& station = model.entries[static_cast<size_t>(row)];
    if (station.long2 <= station.long1) break;
    if (p < station.long1 || p > station.long2) continue;
    lines += "- in the station " + windows1252_to_utf8(station.text) + " (" + std::to_string(station.long1) + " to " +
             std::to_string(station.long2) + " m)\n";
  }
  return lines;
}

std::string tunnel_lines(const RouteModel& model, int64_t p) {
  std::string lines;
  for (int32_t i = 1; i <= model.tunnel_count && i < kTunnelSlots; ++i) {
    const int32_t start = model.tunnel_start[static_cast<size_t>(i)];
    const int32_t end = model.tunnel_end[static_cast<size_t>(i)];
    if (p < start || p >= end) continue;
    lines += "- in tunnel " + std::to_string(i) + " (" + std::to_string(start) + " to " + std::to_string(end) + " m)\n";
  }
  return lines;
}

}  // namespace

std::string position_facts(const RouteModel& model, int64_t p) {
  return "At " + std::to_string(p) + " m:\n\n" + kilometre_lines(model, p) + cell_lines(model, p) +
         station_lines(model, p) + tunnel_lines(model, p);
}

}  // namespace scenario::lsp
