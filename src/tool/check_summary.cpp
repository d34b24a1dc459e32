#include "tool/check_summary.h"

#include "render/route_facts.h"
#include "tool/diagnostic.h"

namespace scenario::tool {
namespace {

constexpr int32_t kMetresPerKm = 1000;

// Whole kilometres as they are, others to the metre: "12 km", "117.35 km".
std::string kilometres(int32_t metres) {
  std::string text = std::to_string(metres / kMetresPerKm);
  if (metres % kMetresPerKm != 0) {
    std::string fraction = std::to_string(kMetresPerKm + metres % kMetresPerKm).substr(1);
    fraction.erase(fraction.find_last_not_of('0') + 1);
    text += "." + fraction;
  }
  return text + " km";
}

}  // namespace

std::string route_summary(const RouteModel& model) {
  const RouteFacts facts = route_objects(model);
  return kilometres(facts.route_length) + ", " + counted(facts.stations.size(), "station") + ", " +
         counted(facts.signals.size(), "signal") + ", " + counted(facts.speed_boards.size(), "speed board") + ", " +
         counted(facts.indication_boards.size(), "indication board") + ", " +
         counted(static_cast<size_t>(model.tunnel_count), "tunnel") + ", " +
         counted(facts.slowdowns.size(), "slowdown");
}

std::string checked_line(const RunFiles& files, const std::string& dir, const std::string& route,
                         const ListCount& count) {
  return source_path(files.line_source.filename().string(), dir) + ", " +
         source_path(files.train_source.filename().string(), dir) + ": " + route + ": " +
         counted(count.errors, "error") + ", " + counted(count.warnings, "warning") + "\n";
}

}  // namespace scenario::tool
