#pragma once

#include <optional>
#include <string>

namespace scenario::tool {

// `scenario explain [TOPIC] [--markdown] [--markdown-schema DOCUMENT]`, as
// parsed.
struct ExplainRequest {
  std::optional<std::string> topic;  // an error number or a record's keyword
  bool markdown = false;
  std::optional<std::string> schema_document;  // a Markdown file whose schema tables to make anew
};

// Explains an error number or a record of the sources, prints the whole
// catalogue, or a document with its schema tables made anew; returns the
// exit status.
int explain(const ExplainRequest& request);

}  // namespace scenario::tool
