#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/diagnostic.h"

namespace scenario::tool {

// A diagnostic in the form gcc's problem matchers and Vim's errorformat read:
//   PATH:LINE:COL: error: what was wrong [E25]
//   PATH:LINE:COL: warning: what was dropped or altered [name]
//   the source line
//          ^ under the field at fault
//   PATH:LINE:COL: note: a place the diagnostic depends on
// A diagnostic about a whole file has PATH alone, one with no file nothing;
// an error without a number has no tag. PATH is the file as the author would
// open it (see source_path). The source line is shown in UTF-8 with control
// bytes escaped, cut around the caret; no source can make a message longer
// than a few hundred bytes. In colour, as gcc colours its own: the place in
// bold, the kind and its tag in bold red, magenta or cyan, the caret in bold
// green.
std::string format_diagnostic(const Diagnostic& diagnostic, const std::string& dir, bool colour = false);

// A source's file name joined to dir as the author gave it, or the name
// alone when dir is empty; control bytes shown as the echo shows them.
std::string source_path(const std::string& file, const std::string& dir);

// A command's line about anything but a source's record, for stderr:
// "scenario COMMAND: message\n". Names and paths in it (a scenario name, a
// --dir) are shown as the echo shows a source line, control bytes as \x1b,
// so that none can move the cursor or retitle the terminal.
std::string command_message(std::string_view command, std::string_view message);

}  // namespace scenario::tool
