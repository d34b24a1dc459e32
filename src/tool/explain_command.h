#pragma once

#include <optional>
#include <string>

namespace scenario::tool {

// `scenario explain [TOPIC] [--markdown] [--markdown-schema DOCUMENT]`, as
// parsed. A topic is an error number (25 or E25), a warning name
// (unknown-record) or a record's keyword (segnale).
struct ExplainRequest {
  std::optional<std::string> topic;
  bool markdown = false;
  std::optional<std::string> schema_document;  // a Markdown file whose schema tables to make anew
};

// Explains an error number, a warning or a record of the sources, prints the
// whole catalogue, or a document with its schema tables made anew; returns
// the exit status.
int explain(const ExplainRequest& request);

}  // namespace scenario::tool
