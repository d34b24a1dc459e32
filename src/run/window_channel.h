#pragma once

// The package and its window program talk over one stream socket, which the
// window program finds as this descriptor. Once its window is on the screen
// it sends kWindowReady; it then reads until the package shuts the socket for
// writing. Nothing read means the run succeeded and the window goes away;
// otherwise what was read is the message of the error box, and the program
// sends kBoxClosed once the user has closed the box, and ends. A window program that ends without
// sending kWindowReady found no display or no window module: the package runs
// on the console.
namespace scenario {

inline constexpr int kWindowChannelFd = 3;
inline constexpr char kWindowReady = 'R';
inline constexpr char kBoxClosed = 'C';

}  // namespace scenario
