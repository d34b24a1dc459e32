#pragma once

#include <nlohmann/json.hpp>

#include "lsp/editor_text.h"
#include "reader/source_schema.h"

namespace scenario::lsp {

// The edits that align the columns of each section's records of a kind:
// numbers right-aligned under each other, one blank at least after every
// comma. Only blanks next to a comma change, which the field reader skips,
// so every field reads as before; lines with a quote (whose field may run
// on) or a character the code page lacks are left as they are, and so are
// line ends.
nlohmann::json formatting_edits(const EditorText& text, SourceFile source);

}  // namespace scenario::lsp
