#pragma once

#include <string>

namespace scenario {

// Whether an X display can be opened. FLTK ends the process when it cannot
// open one, so this is asked before the first FLTK call.
bool display_available();

// Shows the package's window ("Form1", the label "Attendere") and paints it
// at once, so that it is on the screen before the work starts.
void show_waiting_window();

// A modal box with the message and an OK button only, no icon; returns when
// the user has closed it.
void show_error_box(const std::string& message);

}  // namespace scenario
