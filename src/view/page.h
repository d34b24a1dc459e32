#pragma once

#include <string>

#include <nlohmann/json.hpp>

namespace scenario::view {

// The whole page, one file: its style, its script and the data inline, so
// that it opens without a network and without a file beside it. The data is
// made safe to stand inside a script element.
std::string page_html(const nlohmann::ordered_json& data);

}  // namespace scenario::view
