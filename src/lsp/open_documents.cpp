#include "lsp/open_documents.h"

#include <algorithm>

#include "lsp/file_uri.h"
#include "lsp/record_lines.h"
#include "model/run_files.h"

namespace scenario::lsp {

void OpenDocuments::open(const std::string& uri, const std::string& utf8) {
  const std::filesystem::path path = path_of_uri(uri).value_or(std::filesystem::path{});
  const std::optional<SourceName> name = source_name(path);
  documents_.insert_or_assign(uri, OpenDocument{path, EditorText::from_utf8(utf8), source_of(!name || name->line_source)});
}

void OpenDocuments::close(const std::string& uri) { documents_.erase(uri); }

const OpenDocument* OpenDocuments::find(const std::string& uri) const {
  const auto found = documents_.find(uri);
  return found == documents_.end() ? nullptr : &found->second;
}

std::vector<std::filesystem::path> OpenDocuments::open_paths() const {
  std::vector<std::filesystem::path> paths;
  for (const auto& [uri, document] : documents_) {
    if (!document.path.empty()) paths.push_back(document.path);
  }
  return paths;
}

std::optional<ScenarioPair> OpenDocuments::pair_of_document(const std::string& uri) const {
  const OpenDocument* document = find(uri);
  if (document == nullptr || document->path.empty()) return std::nullopt;
  return pair_of(document->path, open_paths());
}

std::vector<ScenarioPair> OpenDocuments::pairs_holding(const std::filesystem::path& path) const {
  std::vector<ScenarioPair> pairs;
  for (const auto& [uri, document] : documents_) {
    const std::optional<ScenarioPair> pair = pair_of_document(uri);
    if (!pair || (pair->line_source != path && pair->train_source != path)) continue;
    const bool known = std::any_of(pairs.begin(), pairs.end(), [&](const ScenarioPair& p) {
      return p.line_source == pair->line_source && p.train_source == pair->train_source;
    });
    if (!known) pairs.push_back(*pair);
  }
  return pairs;
}

std::vector<OpenBuffer> OpenDocuments::buffers() const {
  std::vector<OpenBuffer> buffers;
  for (const auto& [uri, document] : documents_) {
    if (!document.path.empty()) buffers.push_back({document.path, &document.text});
  }
  return buffers;
}


std::string OpenDocuments::uri_of(const std::filesystem::path& path) const {
  for (const auto& [uri, document] : documents_) {
    if (document.path == path) return uri;
  }
  return uri_of_path(path);
}

}  // namespace scenario::lsp
