#include "compile/competition_codes.h"

#include <string>
#include <string_view>

#include "model/numeric.h"
#include "model/windows1252.h"

namespace scenario {
namespace {

// Fills a short pair up to the counted length: each letter a to o doubled,
// without j and k.
inline constexpr std::string_view kFillText = "aabbccddeeffgghhiillmmnnoo";
inline constexpr size_t kCountedCharacters = 25;

int64_t code_sum(const RouteModel& model, bool weighted) {
  const std::string counted = competition_text(model).substr(0, kCountedCharacters);
  int64_t sum = 0;
  for (size_t i = 0; i < counted.size(); ++i) {
    const int64_t weight = weighted ? static_cast<int64_t>(i) + 1 : 1;
    sum += weight * static_cast<unsigned char>(counted[i]);
  }
  return sum;
}

}  // namespace

// Lower case over the whole code page, so that letter case never changes a
// code.
std::string competition_text(const RouteModel& model) {
  return windows1252_lower(model.entries[kTrainRow].text + model.entries[kScenarioRow].text) + std::string(kFillText);
}

int16_t codice_gara_og(const RouteModel& model) { return narrow<int16_t>(code_sum(model, false)); }

int32_t codice_gara_st(const RouteModel& model) { return narrow<int32_t>(code_sum(model, true)); }

}  // namespace scenario
