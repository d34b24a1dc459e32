#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "view/page_server.h"
#include "io/source_watch.h"

namespace scenario::view {

// Makes the page of the sources' version-th state (and writes it where it
// belongs).
using PageMaker = std::function<std::string(uint64_t version)>;

// Serves the page and makes it anew after every save of a source, for ever:
// the page itself reloads when it sees the version change.
[[noreturn]] void serve_live(PageServer& server, SourceWatch& watch, const PageMaker& make_page);

}  // namespace scenario::view
