#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <string>

#include "lsp/source_pairs.h"

// A reading's diagnostics as the protocol publishes them, for each source of
// the pair: the range of the field at fault in the editor's columns, the
// error number or the warning's name as the code, the notes as related
// information, and the tag Unnecessary on what the reading skips.

namespace scenario::lsp {

// The diagnostics of each source of the pair that exists, by path: an empty
// list for a source without any, so that what was published before is
// cleared. What concerns a missing source is said on its partner's first line.
std::map<std::filesystem::path, nlohmann::json> published_diagnostics(const PairReading& reading);

}  // namespace scenario::lsp
