#pragma once

#include <filesystem>

namespace scenario {

// How the package shows itself: in its window, or on the console when no
// display can be opened.
struct FrontEnd {
  // The window's error box; none on the console.
  void (*show_error_box)(const char* message) = nullptr;
};

inline constexpr FrontEnd kConsole{};

// Decides how the package shows itself, before anything else happens, and
// under a display shows the waiting window. An unset or empty DISPLAY means
// the console, and nothing is loaded. Otherwise the X library is asked
// whether the display opens; only then is the window module beside the
// program (in program_dir) loaded. A display that cannot be opened or a
// module that cannot be loaded means the console too.
FrontEnd open_front_end(const std::filesystem::path& program_dir);

}  // namespace scenario
