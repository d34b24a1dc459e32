#include "compile/competition_codes.h"

#include <string>
#include <string_view>

#include "model/numeric.h"

namespace scenario {
namespace {

// Fills a short pair up to the counted length: each letter a to o doubled,
// without j and k.
inline constexpr std::string_view kFillText = "aabbccddeeffgghhiillmmnnoo";
inline constexpr size_t kCountedCharacters = 25;

// Lower case in Windows-1252, the code page of the names: ASCII letters and the
// accented capitals of the code page alike, so that letter case never changes
// a code, whatever the locale of the machine.
unsigned char lower_1252(unsigned char byte) {
  constexpr unsigned char kCaseDistance = 0x20;
  const bool ascii_capital = byte >= 'A' && byte <= 'Z';
  const bool latin_capital = byte >= 0xC0 && byte <= 0xDE && byte != 0xD7;  // 0xD7 is the multiplication sign
  if (ascii_capital || latin_capital) return static_cast<unsigned char>(byte + kCaseDistance);
  switch (byte) {
    case 0x8A: return 0x9A;  // S caron
    case 0x8C: return 0x9C;  // OE
    case 0x8E: return 0x9E;  // Z caron
    case 0x9F: return 0xFF;  // Y diaeresis
    default: return byte;
  }
}

// Train number, then scenario name, in lower case, then the fill text; kept in
// text_buffer. Returns the byte values of its first 25 characters.
std::string filled_text(RouteModel& model) {
  std::string text = model.entries[kTrainRow].text + model.entries[kScenarioRow].text;
  for (char& c : text) c = static_cast<char>(lower_1252(static_cast<unsigned char>(c)));
  text.append(kFillText);
  model.text_buffer = text;
  return text.substr(0, kCountedCharacters);
}

int64_t code_sum(RouteModel& model, bool weighted) {
  const std::string counted = filled_text(model);
  int64_t sum = 0;
  for (size_t i = 0; i < counted.size(); ++i) {
    const int64_t weight = weighted ? static_cast<int64_t>(i) + 1 : 1;
    sum += weight * static_cast<unsigned char>(counted[i]);
  }
  return sum;
}

}  // namespace

int16_t codice_gara_og(RouteModel& model) { return narrow<int16_t>(code_sum(model, false)); }

int32_t codice_gara_st(RouteModel& model) { return narrow<int32_t>(code_sum(model, true)); }

}  // namespace scenario
