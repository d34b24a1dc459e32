#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace scenario {

// Text compared without regard to letter case (keywords of the sources, file
// names): only ASCII letters change, whatever the locale of the machine.
inline std::string ascii_lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  return lower;
}

}  // namespace scenario
