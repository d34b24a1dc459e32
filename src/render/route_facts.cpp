#include "render/route_facts.h"

#include <algorithm>
#include <functional>

#include "format/scenario_format.h"
#include "inspect/author_units.h"
#include "inspect/entry_roles.h"
#include "model/route_model.h"
#include "model/windows1252.h"

namespace scenario {
namespace {

int32_t cell_start(size_t i) { return static_cast<int32_t>(track_position(static_cast<int64_t>(i))); }
int32_t drawn_position(size_t i) { return static_cast<int32_t>(object_position(static_cast<int64_t>(i))); }

// The route as read (row 84) when it fits the grid; otherwise the grid less
// its run-out, or the whole grid for a grid shorter than that. The last cell
// begins at the extended length.
int32_t route_length(const RouteModel& model) {
  const int32_t extended = model.cells.empty() ? 0 : cell_start(model.cells.size() - 1);
  const int32_t stated = model.entries[kTotalsRow].long2;
  if (stated > 0 && stated <= extended) return stated;
  return extended > kRunOut ? extended - kRunOut : extended;
}

std::vector<Stretch> stretches(const std::vector<Cell>& cells, int32_t end,
                               const std::function<int(const Cell&)>& value) {
  std::vector<Stretch> list;
  for (size_t i = 0; i < cells.size() && cell_start(i) < end; ++i) {
    const int v = value(cells[i]);
    const int32_t to = std::min(cell_start(i + 1), end);
    if (!list.empty() && list.back().value == v && list.back().to == cell_start(i)) {
      list.back().to = to;
    } else {
      list.push_back(Stretch{cell_start(i), to, v});
    }
  }
  return list;
}

std::vector<Station> stations(const RouteModel& model) {
  std::vector<Station> list;
  for (int row = kFirstStationRow; row <= kBoardTop; ++row) {
    const Entry& entry = model.entries[static_cast<size_t>(row)];
    if (entry_role(row, entry) != EntryRole::kStation) continue;
    list.push_back(Station{entry.long3, entry.long1, entry.long2, entry.kind, windows1252_to_utf8(entry.text)});
  }
  return list;
}

void add_object(RouteFacts& facts, const std::vector<Cell>& cells, size_t i) {
  const Cell& cell = cells[i];
  switch (cell.kind) {
    case kSignal: facts.signals.push_back(drawn_position(i)); break;
    case kSpeedBoard:
      facts.speed_boards.push_back(
          DrawnSpeedBoard{drawn_position(i), decode_board_speeds(cell.p1).s, decode_board_stripes(cell.p4).s});
      break;
    case kTextBoard: facts.indication_boards.push_back(drawn_position(i)); break;
    case kReductionValue:
    case kReductionPlain:
      facts.reduction_points.push_back(cell_start(i));
      break;
    case kSlowdownStart:
      if (const std::optional<size_t> end = slowdown_end(cells, i)) {
        facts.slowdowns.push_back(Stretch{drawn_position(i), drawn_position(*end), cell.p1});
      }
      break;
    default: break;
  }
}

}  // namespace

bool Station::timing_point() const { return kind >= kFirstTimingPointKind; }

RouteFacts route_facts(const RouteModel& model) {
  RouteFacts facts;
  facts.route_length = route_length(model);
  facts.stations = stations(model);
  for (size_t i = 0; i < model.cells.size(); ++i) add_object(facts, model.cells, i);
  const int32_t end = facts.route_length;
  facts.speed_limits = stretches(model.cells, end, [](const Cell& c) { return decode_speed_limit(c.speed_limit); });
  facts.gradients = stretches(model.cells, end, [](const Cell& c) { return decode_gradient(c.gradient); });
  for (const Stretch& s : stretches(model.cells, end, [](const Cell& c) { return int{c.tunnel}; })) {
    if (s.value != 0) facts.tunnels.push_back(s);
  }
  return facts;
}

}  // namespace scenario
