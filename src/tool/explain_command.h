#pragma once

#include <cstdint>
#include <optional>

namespace scenario::tool {

// `scenario explain [NUMBER] [--markdown]`, as parsed.
struct ExplainRequest {
  std::optional<int32_t> number;
  bool markdown = false;
};

// Explains an error number, or prints the whole catalogue; returns the exit status.
int explain(const ExplainRequest& request);

}  // namespace scenario::tool
