#include "lsp/published_diagnostics.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "lsp/field_extent.h"
#include "lsp/file_uri.h"
#include "model/windows1252.h"

namespace scenario::lsp {
namespace {

using nlohmann::json;

enum LspSeverity { kLspError = 1, kLspWarning = 2, kLspInformation = 3 };
constexpr int kUnnecessary = 1;
constexpr std::string_view kSourceName = "scenario";

// Warnings about text the reading skips, which editors show faded.
constexpr std::array<std::string_view, 4> kSkippedText = {"unknown-record", "extra-fields", "wrong-section",
                                                           "keyword-case"};

bool skipped_text(const Diagnostic& diagnostic) {
  return diagnostic.severity == Severity::kWarning &&
         std::find(kSkippedText.begin(), kSkippedText.end(), diagnostic.name) != kSkippedText.end();
}

// A source of the pair as the diagnostics name it.
struct Target {
  std::filesystem::path path;
  std::string file;
  std::string uri;
  const EditorText* text = nullptr;  // null when the source is missing
};

json position_json(Position position) { return {{"line", position.line}, {"character", position.character}}; }

json range_json(const Range& range) { return {{"start", position_json(range.start)}, {"end", position_json(range.end)}}; }

// The field of site in the editor's columns; the first place of the text
// for a site that names no line.
Range site_range(const ErrorSite& site, const EditorText* text, bool to_line_end) {
  if (text == nullptr || site.line <= 0 || site.line > text->line_count()) return {};
  const int line = site.line - 1;
  const std::string_view bytes = text->line(line);
  const size_t start = std::min(static_cast<size_t>(std::max(site.column, 1) - 1), bytes.size());
  const size_t end = to_line_end ? content_end(bytes) : field_end(bytes, start);
  return {text->position(line, start), text->position(line, std::max(start, end))};
}

// "the reading only counted 12 more errors and 3 more warnings", naming only what there is.
std::string unlisted_text(const tool::DiagnosticList& list) {
  std::string text;
  if (list.unlisted_errors > 0) text = tool::counted(list.unlisted_errors, "more error");
  if (list.unlisted_warnings > 0) text += (text.empty() ? "" : " and ") + tool::counted(list.unlisted_warnings, "more warning");
  return "the reading only counted " + text + ": mend the first ones and the rest are listed";
}

class Publisher {
 public:
  explicit Publisher(const PairReading& reading) {
    add_target(reading.pair.line_source, reading.line_text);
    add_target(reading.pair.train_source, reading.train_text);
  }

  std::map<std::filesystem::path, json> publish(const tool::DiagnosticList& list) {
    for (const Target& target : targets_) {
      if (target.text != nullptr) lists_[target.path] = json::array();
    }
    for (const Diagnostic& diagnostic : list.items) add(diagnostic);
    add_unlisted(list);
    return std::move(lists_);
  }

 private:
  void add_target(const std::filesystem::path& path, const std::optional<EditorText>& text) {
    targets_.push_back({path, path.filename().string(), uri_of_path(path), text ? &*text : nullptr});
  }

  // The source a site is in; a site of a missing source, or of none, goes
  // to the first source there is.
  const Target& target_of(const ErrorSite& site) const {
    for (const Target& target : targets_) {
      if (target.file == site.file && target.text != nullptr) return target;
    }
    for (const Target& target : targets_) {
      if (target.text != nullptr) return target;
    }
    return targets_.front();
  }

  json related(const ErrorSite& note) const {
    const Target& target = target_of(note);
    return {{"location", {{"uri", target.uri}, {"range", range_json(site_range(note, target.text, false))}}},
            {"message", windows1252_to_utf8(note.detail)}};
  }

  void add(const Diagnostic& diagnostic) {
    const Target& target = target_of(diagnostic.site);
    const bool skipped = skipped_text(diagnostic);
    json item = {{"range", range_json(site_range(diagnostic.site, target.text, skipped))},
                 {"severity", diagnostic.severity == Severity::kError ? kLspError : kLspWarning},
                 {"source", kSourceName},
                 {"message", windows1252_to_utf8(diagnostic.site.detail)}};
    if (diagnostic.severity == Severity::kWarning) item["code"] = diagnostic.name;
    if (diagnostic.severity == Severity::kError && diagnostic.code != 0) {
      item["code"] = "E" + std::to_string(diagnostic.code);
    }
    if (skipped) item["tags"] = json::array({kUnnecessary});
    if (!diagnostic.notes.empty()) {
      json notes = json::array();
      for (const ErrorSite& note : diagnostic.notes) notes.push_back(related(note));
      item["relatedInformation"] = std::move(notes);
    }
    if (target.text != nullptr) lists_[target.path].push_back(std::move(item));
  }

  // What the reading only counted, said once on the first line.
  void add_unlisted(const tool::DiagnosticList& list) {
    if (list.unlisted_errors == 0 && list.unlisted_warnings == 0) return;
    const Target& target = target_of({});
    if (target.text == nullptr) return;
    lists_[target.path].push_back({{"range", range_json({})},
                                  {"severity", kLspInformation},
                                  {"source", kSourceName},
                                  {"message", unlisted_text(list)}});
  }

  std::vector<Target> targets_;
  std::map<std::filesystem::path, json> lists_;
};

}  // namespace

std::map<std::filesystem::path, nlohmann::json> published_diagnostics(const PairReading& reading) {
  return Publisher(reading).publish(reading.list);
}

}  // namespace scenario::lsp
