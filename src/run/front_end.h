#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "run/window_channel.h"

namespace scenario {

// How the package shows itself: in its window, which a program of its own
// shows (so that the package itself never loads the window library), or on
// the console.
struct FrontEnd {
  // The socket to the window program and its process; -1 on the console.
  int window = -1;
  pid_t window_program = -1;
};

inline constexpr FrontEnd kConsole{};

// Decides how the package shows itself, before anything else happens. An
// unset or empty DISPLAY means the console, and nothing is started.
// Otherwise the window program beside the package (in program_dir) is
// started; it asks whether the display opens, and only then loads the window
// library and shows the waiting window, and this returns once the window is
// on the screen. A window program that is missing, finds no display or no
// window module, or is not ready within ready_wait means the console too; one
// still running then is killed.
FrontEnd open_front_end(const std::filesystem::path& program_dir,
                        std::chrono::milliseconds ready_wait = kWindowReadyWait);

// Shows the message in the window's error box and returns once the user has
// closed it, however long that takes: the wait is on a person, so it has no
// limit. False, with nothing shown, when the window is gone or goes.
bool show_error_box(const FrontEnd& front_end, const std::string& message);

// Ends a run that succeeded: the window goes away, and a window program that
// has not ended within end_wait is killed.
void close_front_end(const FrontEnd& front_end, std::chrono::milliseconds end_wait = kWindowReadyWait);

}  // namespace scenario
