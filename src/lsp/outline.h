#pragma once

#include <nlohmann/json.hpp>

#include "lsp/editor_text.h"
#include "reader/source_schema.h"

namespace scenario::lsp {

// The outline of a source as the protocol's DocumentSymbol list: each
// section under its heading, and in it the stations by name, the tunnels
// and the signals by position.
nlohmann::json document_symbols(const EditorText& text, SourceFile source);

// Each section folds from its heading to the line before the next.
nlohmann::json folding_ranges(const EditorText& text);

}  // namespace scenario::lsp
