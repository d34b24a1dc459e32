#pragma once

namespace scenario::tool {

// `--color`: whether diagnostics are coloured.
enum class ColourMode { kAuto, kAlways, kNever };

// gcc's rule for its own diagnostics: auto colours only a terminal on stderr
// whose TERM is set and is not "dumb"; a NO_COLOR of any non-empty value
// turns auto off. always and never ask nothing.
bool colours_wanted(ColourMode mode);

}  // namespace scenario::tool
