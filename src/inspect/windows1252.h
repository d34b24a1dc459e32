#pragma once

#include <string>
#include <string_view>

namespace scenario {

// The texts of the scenario files are Windows-1252 bytes; JSON and cairo want
// UTF-8. Every byte converts: the five bytes the code page leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same
// number, as Windows itself converts them, so that no text is refused and
// none is silently altered.
std::string windows1252_to_utf8(std::string_view text);

}  // namespace scenario
