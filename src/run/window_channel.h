#pragma once

#include <chrono>

// The package and its window program talk over one stream socket, which the
// window program finds as this descriptor. Once its window is on the screen
// it sends kWindowReady; it then reads until the package shuts the socket for
// writing. Nothing read means the run succeeded and the window goes away;
// otherwise what was read is the message of the error box, and the program
// sends kBoxClosed once the user has closed the box, and ends. A window
// program that does not send kWindowReady within kWindowReadyWait found no
// display, no window module or no window on the screen, or hangs on a display
// that never answers: the package ends it and runs on the console.
namespace scenario {

inline constexpr int kWindowChannelFd = 3;
inline constexpr char kWindowReady = 'R';
inline constexpr char kBoxClosed = 'C';

// How long the package waits for kWindowReady and for its window program to
// end, and the window program for its window to be mapped: mapping takes tens
// of milliseconds, well under a second even on a slow remote display.
inline constexpr std::chrono::seconds kWindowReadyWait{3};

}  // namespace scenario
