#pragma once

#include <optional>
#include <string>

namespace scenario::tool {

// `scenario explain [TOPIC] [--markdown]`, as parsed. A topic is an error
// number (25 or E25) or a warning name (unknown-record).
struct ExplainRequest {
  std::optional<std::string> topic;
  bool markdown = false;
};

// Explains an error number or a warning, or prints the whole catalogue;
// returns the exit status.
int explain(const ExplainRequest& request);

}  // namespace scenario::tool
