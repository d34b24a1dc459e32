#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The editor names documents by file URI: file:///dir/name, bytes outside
// the unreserved set percent-encoded.

namespace scenario::lsp {

// The path of a file URI; nothing for any other scheme.
std::optional<std::filesystem::path> path_of_uri(std::string_view uri);

std::string uri_of_path(const std::filesystem::path& path);

}  // namespace scenario::lsp
