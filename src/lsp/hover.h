#pragma once

#include <optional>
#include <string>

#include "lsp/editor_text.h"
#include "model/route_model.h"
#include "reader/source_schema.h"

namespace scenario::lsp {

// Markdown on the field at a place: its name, unit, range and meaning from
// the schema, and on a position the route there as the read scenario holds
// it (none when there is no scenario); nothing off a record's fields.
std::optional<std::string> hover_text(const EditorText& text, Position at, SourceFile source,
                                      const RouteModel* scenario);

}  // namespace scenario::lsp
