#include "lsp/file_uri.h"

#include <cctype>
#include <cstdio>

namespace scenario::lsp {
namespace {

constexpr std::string_view kScheme = "file://";

int hex_value(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0';
  const int lower = std::tolower(static_cast<unsigned char>(digit));
  return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

bool kept_as_is(unsigned char byte) {
  return std::isalnum(byte) != 0 || byte == '/' || byte == '-' || byte == '_' || byte == '.' || byte == '~';
}

}  // namespace

std::optional<std::filesystem::path> path_of_uri(std::string_view uri) {
  if (!uri.starts_with(kScheme)) return std::nullopt;
  uri.remove_prefix(kScheme.size());
  uri = uri.substr(0, uri.find_first_of("?#"));
  // file://host/path: only the local host is ours.
  if (!uri.starts_with('/')) uri = uri.substr(std::min(uri.find('/'), uri.size()));
  std::string path;
  for (size_t i = 0; i < uri.size(); ++i) {
    if (uri[i] == '%' && i + 2 < uri.size() && hex_value(uri[i + 1]) >= 0 && hex_value(uri[i + 2]) >= 0) {
      path += static_cast<char>(hex_value(uri[i + 1]) * 16 + hex_value(uri[i + 2]));
      i += 2;
    } else {
      path += uri[i];
    }
  }
  if (path.empty()) return std::nullopt;
  return std::filesystem::path(path);
}

std::string uri_of_path(const std::filesystem::path& path) {
  std::string uri(kScheme);
  for (const char c : path.string()) {
    const auto byte = static_cast<unsigned char>(c);
    if (kept_as_is(byte)) {
      uri += c;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
      uri += escaped;
    }
  }
  return uri;
}

}  // namespace scenario::lsp
