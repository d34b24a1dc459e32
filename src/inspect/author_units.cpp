#include "inspect/author_units.h"

#include <cstdio>

#include "format/scenario_format.h"

namespace scenario {
namespace {

using nlohmann::ordered_json;

ordered_json signal_json(const Cell& cell) {
  const SignalPair s1d1 = decode_signal_pair(cell.p1);
  const SignalPair s2d2 = decode_signal_pair(cell.p2);
  const SignalPair s3d3 = decode_signal_pair(cell.p3);
  const SignalPair rapp_code = decode_signal_pair(cell.p4);
  const SignalPair sxdx = decode_signal_code(rapp_code.low);
  return ordered_json{{"sx", sxdx.high}, {"s1", s1d1.high}, {"s2", s2d2.high}, {"s3", s3d3.high},
                      {"rapp", rapp_code.high}, {"dx", sxdx.low}, {"d1", s1d1.low}, {"d2", s2d2.low},
                      {"d3", s3d3.low}, {"tempo", cell.timer}};
}

ordered_json slowdown_start_json(const Cells& cells, size_t i) {
  const std::optional<size_t> end = slowdown_end(cells, i);
  ordered_json length = nullptr;
  if (end) length = track_position(static_cast<int64_t>(*end)) - track_position(static_cast<int64_t>(i));
  return ordered_json{{"speed_kmh", cells[i].p1}, {"length_m", length}, {"d_v", cells[i].p2}, {"f_tt", cells[i].p3}};
}

ordered_json speed_board_json(const Cell& cell) {
  const BoardSides a = decode_board_speeds(cell.p1);
  const BoardSides b = decode_board_speeds(cell.p2);
  const BoardSides c = decode_board_speeds(cell.p3);
  const BoardSides stripes = decode_board_stripes(cell.p4);
  return ordered_json{{"vas", a.s}, {"vbs", b.s}, {"vcs", c.s}, {"strisces", stripes.s},
                      {"vad", a.d}, {"vbd", b.d}, {"vcd", c.d}, {"strisced", stripes.d}};
}

}  // namespace

std::optional<int> gradient_permille(const Cell& cell) {
  if (cell.gradient == 0) return std::nullopt;
  return decode_gradient(cell.gradient);
}

std::optional<size_t> slowdown_end(const Cells& cells, size_t start) {
  for (size_t i = start + 1; i < cells.size(); ++i) {
    if (cells[i].kind == kSlowdownEnd) return i;
  }
  return std::nullopt;
}

ordered_json decoded_object(const Cells& cells, size_t i) {
  const Cell& cell = cells[i];
  switch (cell.kind) {
    case kSignal: return signal_json(cell);
    case kSlowdownStart: return slowdown_start_json(cells, i);
    case kSlowdownEnd: return ordered_json{{"speed_kmh", cell.p1}, {"d_v", cell.p2}, {"f_tt", cell.p3}};
    case kWarningBoard: return ordered_json{{"speed_kmh", cell.p1}, {"d_v", cell.p2}};
    case kSpeedBoard: return speed_board_json(cell);
    case kReductionValue: return ordered_json{{"speed_kmh", cell.p1}};
    case kStationStop: return ordered_json{{"station_row", cell.p1}};
    case kTextBoard: return ordered_json{{"text_row", cell.p1}};
    default: return nullptr;
  }
}

std::string time_of_day_text(int32_t seconds) {
  const TimeOfDay time = decode_time_of_day(seconds);
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(time.hour),
                static_cast<long long>(time.minute), static_cast<long long>(time.second));
  return text;
}

}  // namespace scenario
