#pragma once

#include <nlohmann/json.hpp>

#include "lsp/editor_text.h"
#include "reader/source_schema.h"

namespace scenario::lsp {

// The completion items at a place, as the protocol's CompletionItem list: in
// a line's first field the keywords the section reads (each a snippet of
// the record with its fields as placeholders) and the headings of the
// source; after a record's keyword, its fields still to write.
nlohmann::json completion_items(const EditorText& text, Position at, SourceFile source);

}  // namespace scenario::lsp
