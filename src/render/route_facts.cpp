#include "render/route_facts.h"

#include <algorithm>

#include "format/scenario_format.h"
#include "inspect/author_units.h"
#include "inspect/entry_roles.h"
#include "model/route_model.h"
#include "model/windows1252.h"

namespace scenario {
namespace {

inline constexpr double kPerMille = 1000.0;

int32_t cell_start(size_t i) { return static_cast<int32_t>(track_position(static_cast<int64_t>(i))); }
int32_t drawn_position(size_t i) { return static_cast<int32_t>(object_position(static_cast<int64_t>(i))); }

bool is_reduction_point(const Cell& cell) { return cell.kind == kReductionValue || cell.kind == kReductionPlain; }

std::vector<Stretch> stretches(const Cells& cells, int32_t end, int (*value)(const Cell&)) {
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

// The stretches that reach into the span, cut to it.
std::vector<Stretch> cut(const std::vector<Stretch>& list, const Span& span) {
  std::vector<Stretch> inside;
  for (const Stretch& s : list) {
    if (s.to <= span.from || s.from >= span.to) continue;
    inside.push_back(Stretch{std::max(s.from, span.from), std::min(s.to, span.to), s.value});
  }
  return inside;
}

double height_at(const std::vector<Stretch>& gradients, int32_t position) {
  double height = 0.0;
  for (const Stretch& s : gradients) {
    if (s.from >= position) break;
    height += s.value * (std::min(s.to, position) - s.from) / kPerMille;
  }
  return height;
}

std::vector<Station> stations(const RouteModel& model) {
  std::vector<Station> list;
  for (int row = kFirstStationRow; row <= kBoardTop; ++row) {
    const Entry& entry = model.entries[static_cast<size_t>(row)];
    if (entry_role(row, entry) != EntryRole::kStation) continue;
    list.push_back(
        Station{entry.long3, entry.long1, entry.long2, entry.kind, windows1252_to_utf8(entry.text), entry.long4});
  }
  return list;
}

std::string board_text(const RouteModel& model, const Cell& cell) {
  if (cell.p1 < 0 || cell.p1 >= kEntryCount) return {};
  return board_lines(windows1252_to_utf8(model.entries[static_cast<size_t>(cell.p1)].text));
}

std::string without_padding(const std::string& line) {
  const size_t first = line.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return line.substr(first, line.find_last_not_of(' ') - first + 1);
}

bool placed_by_pass(const Cells* before, size_t i) {
  return before != nullptr && i < before->size() && !is_reduction_point((*before)[i]);
}

void add_object(RouteFacts& facts, const RouteModel& model, const Cells* before, size_t i) {
  const Cell& cell = model.cells[i];
  switch (cell.kind) {
    case kSignal: facts.signals.push_back(drawn_position(i)); break;
    case kSpeedBoard:
      facts.speed_boards.push_back(
          DrawnSpeedBoard{drawn_position(i), decode_board_speeds(cell.p1).s, decode_board_stripes(cell.p4).s});
      break;
    case kTextBoard: facts.indication_boards.push_back(IndicationBoard{drawn_position(i), board_text(model, cell)}); break;
    case kWarningBoard: facts.warning_boards.push_back(WarningBoard{drawn_position(i), cell.p1}); break;
    case kReductionValue:
    case kReductionPlain:
      facts.reduction_points.push_back(
          ReductionPoint{cell_start(i), cell.kind == kReductionValue ? std::optional<int>(cell.p1) : std::nullopt,
                         placed_by_pass(before, i)});
      break;
    case kSlowdownStart:
      if (const std::optional<size_t> end = slowdown_end(model.cells, i)) {
        facts.slowdowns.push_back(Stretch{drawn_position(i), drawn_position(*end), cell.p1});
      }
      break;
    default: break;
  }
}

// Objects outside the span are dropped; a slowdown stays while it reaches
// into it.
void keep_objects_inside(RouteFacts& facts) {
  const auto outside = [&](int32_t p) { return p < facts.from || p > facts.to; };
  std::erase_if(facts.stations, [&](const Station& s) { return outside(s.position); });
  std::erase_if(facts.signals, outside);
  std::erase_if(facts.speed_boards, [&](const DrawnSpeedBoard& b) { return outside(b.position); });
  std::erase_if(facts.indication_boards, [&](const IndicationBoard& b) { return outside(b.position); });
  std::erase_if(facts.warning_boards, [&](const WarningBoard& b) { return outside(b.position); });
  std::erase_if(facts.reduction_points, [&](const ReductionPoint& r) { return outside(r.position); });
  facts.slowdowns = cut(facts.slowdowns, Span{facts.from, facts.to});
}

}  // namespace

bool Station::timing_point() const { return kind >= kFirstTimingPointKind; }

// The route as read (row 84) when it fits the grid; otherwise the grid less
// its run-out, or the whole grid for a grid shorter than that. The last cell
// begins at the extended length.
int32_t drawn_route_length(const RouteModel& model) {
  const int32_t extended = model.cells.empty() ? 0 : cell_start(model.cells.size() - 1);
  const int32_t stated = model.entries[kTotalsRow].long2;
  if (stated > 0 && stated <= extended) return stated;
  return extended > kRunOut ? extended - kRunOut : extended;
}

std::string board_lines(const std::string& text) {
  std::string lines;
  size_t at = 0;
  while (at < text.size() && text[at] == '(') {
    const size_t close = text.find(')', at);
    if (close == std::string::npos) return text;
    if (!lines.empty()) lines += " / ";
    lines += without_padding(text.substr(at + 1, close - at - 1));
    at = close + 1;
  }
  return at == text.size() && !lines.empty() ? lines : text;
}

RouteFacts route_objects(const RouteModel& model, std::optional<Span> span, const Cells* cells_before_pass) {
  RouteFacts facts;
  facts.route_length = drawn_route_length(model);
  const Span drawn = span.value_or(Span{0, facts.route_length});
  facts.from = drawn.from;
  facts.to = drawn.to;
  facts.stations = stations(model);
  for (size_t i = 0; i < model.cells.size(); ++i) add_object(facts, model, cells_before_pass, i);
  keep_objects_inside(facts);
  return facts;
}

RouteFacts route_facts(const RouteModel& model, std::optional<Span> span, const Cells* cells_before_pass) {
  RouteFacts facts = route_objects(model, span, cells_before_pass);
  const Span drawn{facts.from, facts.to};
  const int32_t end = facts.route_length;
  facts.speed_limits =
      cut(stretches(model.cells, end, [](const Cell& c) { return decode_speed_limit(c.speed_limit); }), drawn);
  const std::vector<Stretch> gradients =
      stretches(model.cells, end, [](const Cell& c) { return decode_gradient(c.gradient); });
  facts.start_height = height_at(gradients, drawn.from);
  facts.gradients = cut(gradients, drawn);
  for (const Stretch& s : cut(stretches(model.cells, end, [](const Cell& c) { return int{c.tunnel}; }), drawn)) {
    if (s.value != 0) facts.tunnels.push_back(s);
  }
  facts.curves = curves_of(model.trace);
  std::erase_if(facts.curves, [&](const Curve& c) { return c.to <= drawn.from || c.from >= drawn.to; });
  return facts;
}

}  // namespace scenario
