#pragma once

// The package's window is a module of its own, which the window program
// (window_program.cpp) loads only once it has opened the display, so that
// the window library's start-up code never runs without one. Its interface
// is plain C: the window program looks the functions up by these names once
// the module is loaded. FLTK ends the process when it cannot open a display:
// nothing here is called before one has been opened.
extern "C" {

// Shows the package's window ("Form1", the label "Attendere") and paints it
// at once, so that it is on the screen before the work starts. The window
// takes over the connection the window program opened to ask for the display
// (an X Display*): a second connection would race a server that starts
// afresh once its last client has left. False when the window is not mapped
// within kWindowReadyWait.
bool window_show_waiting(void* display);

// A modal box with the message and an OK button only, no icon; returns when
// the user has closed it.
void window_show_error_box(const char* message);
}
