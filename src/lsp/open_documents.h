#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "lsp/editor_text.h"
#include "lsp/source_pairs.h"
#include "reader/source_schema.h"

namespace scenario::lsp {

// A document the editor has open.
struct OpenDocument {
  std::filesystem::path path;  // empty for a URI that names no file
  EditorText text;
  SourceFile source = SourceFile::kLine;
};

// The open documents by URI, and the pairs they are read in.
class OpenDocuments {
 public:
  void open(const std::string& uri, const std::string& utf8);
  void close(const std::string& uri);
  const OpenDocument* find(const std::string& uri) const;

  // The pair a document belongs to, its partner found among the open
  // documents or on disk.
  std::optional<ScenarioPair> pair_of_document(const std::string& uri) const;
  // The pairs of every open document whose pair holds path: those a change
  // of path concerns.
  std::vector<ScenarioPair> pairs_holding(const std::filesystem::path& path) const;

  std::vector<OpenBuffer> buffers() const;

  // The URI the editor opened path by, else the path's own.
  std::string uri_of(const std::filesystem::path& path) const;

 private:
  std::vector<std::filesystem::path> open_paths() const;
  std::map<std::string, OpenDocument> documents_;
};

}  // namespace scenario::lsp
