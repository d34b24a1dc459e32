#pragma once

#include <string>

#include "run/front_end.h"

namespace scenario {

// Exit status of a run that ended on an error.
inline constexpr int kErrorExitStatus = 1;

// Shows " Errore n. " followed by the number a (a box with an OK button, or a
// line on stderr) and ends the program. Does not return.
[[noreturn]] void errore(const std::string& a, FrontEnd front_end);

// Shows a failure that is not numbered (a file that cannot be written) the
// same way and ends the program.
[[noreturn]] void fail_run(const std::string& message, FrontEnd front_end);

}  // namespace scenario
