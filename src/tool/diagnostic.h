#pragma once

#include <cstdint>
#include <string>

#include "model/diagnostic.h"

namespace scenario::tool {

// A diagnostic as editors and compilers print it:
//   PATH:LINE:COL: error N: what was wrong
//   PATH:LINE:COL: warning: what was dropped or altered [name]
//   the source line
//          ^ under the field at fault
// PATH is the file as the author would open it: dir (as the author gave it)
// joined with the file name, or the name alone when dir is empty. The source
// line is shown in UTF-8 with control bytes escaped, cut around the caret;
// no source can make a message longer than a few hundred bytes.
std::string format_diagnostic(const Diagnostic& diagnostic, const std::string& dir);

}  // namespace scenario::tool
