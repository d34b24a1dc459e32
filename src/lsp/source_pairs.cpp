#include "lsp/source_pairs.h"

#include <algorithm>
#include <system_error>

#include "model/run_files.h"
#include "model/windows1252.h"
#include "reader/memorizza_dati.h"
#include "reader/read_sources.h"

namespace scenario::lsp {
namespace {

constexpr int32_t kWithTrace = 1;

bool train_of(const std::filesystem::path& path, const std::string& scenario) {
  const std::optional<SourceName> name = source_name(path);
  return name && !name->line_source && name->scenario == scenario;
}

// The train sources of scenario in dir, the open ones first, each group by name.
std::optional<std::filesystem::path> train_source_of(const std::filesystem::path& dir, const std::string& scenario,
                                                     const std::vector<std::filesystem::path>& open_sources) {
  std::vector<std::filesystem::path> open;
  for (const std::filesystem::path& path : open_sources) {
    if (path.parent_path() == dir && train_of(path, scenario)) open.push_back(path);
  }
  if (!open.empty()) return *std::min_element(open.begin(), open.end());
  std::vector<std::filesystem::path> on_disk;
  std::error_code trouble;
  for (const auto& entry : std::filesystem::directory_iterator(dir, trouble)) {
    if (train_of(entry.path(), scenario)) on_disk.push_back(entry.path());
  }
  if (on_disk.empty()) return std::nullopt;
  return *std::min_element(on_disk.begin(), on_disk.end());
}

// A name as the files store it: Windows-1252, or as it stands when the code
// page cannot hold it.
std::string stored(const std::string& name) { return utf8_to_windows1252(name).value_or(name); }

const EditorText* open_text(const std::vector<OpenBuffer>& open, const std::filesystem::path& path) {
  for (const OpenBuffer& buffer : open) {
    if (buffer.path == path) return buffer.text;
  }
  return nullptr;
}

// A source's text: the open buffer's, else the file's, else why there is none.
SourceText source_text(const std::filesystem::path& path, const std::vector<OpenBuffer>& open, bool line_source,
                       std::optional<EditorText>& kept) {
  if (const EditorText* buffer = open_text(open, path)) {
    kept = *buffer;
    return SourceText(kept->bytes());
  }
  FileBytes storage;
  const SourceText loaded = load_source(path, storage, line_source);
  if (loaded.trouble != SourceText::Trouble::kNone) return loaded;
  kept = EditorText::from_bytes(storage.str());
  return SourceText(kept->bytes());
}

}  // namespace

std::optional<ScenarioPair> pair_of(const std::filesystem::path& source,
                                    const std::vector<std::filesystem::path>& open_sources) {
  const std::optional<SourceName> name = source_name(source);
  if (!name) return std::nullopt;
  const std::filesystem::path dir = source.parent_path();
  ScenarioPair pair{name->scenario, name->train, run_files(dir, name->scenario, "").line_source, {}};
  if (!name->line_source) {
    pair.train_source = source;
  } else if (const auto train = train_source_of(dir, name->scenario, open_sources)) {
    pair.train = source_name(*train)->train;
    pair.train_source = *train;
  }
  return pair;
}

PairReading read_pair(const ScenarioPair& pair, const std::vector<OpenBuffer>& open) {
  PairReading reading{pair, std::nullopt, std::nullopt, {}, {}};
  ReadOptions options = tool::tool_reading(stored(pair.scenario), stored(pair.train), kWithTrace);
  options.line_file = pair.line_source.filename().string();
  const std::string train_pattern = pair.scenario + "_TRAIN-.txt";
  options.train_file = pair.train_source.empty() ? train_pattern : pair.train_source.filename().string();
  const SourceText line = source_text(pair.line_source, open, true, reading.line_text);
  const SourceText train =
      pair.train_source.empty()
          ? SourceText::missing("no train source " + train_pattern + " beside " + options.line_file)
          : source_text(pair.train_source, open, false, reading.train_text);
  ReadResult read = read_sources(line, train, options);
  reading.list = tool::checked_list(read.scenario, read.report);
  reading.scenario = std::move(read.scenario);
  return reading;
}

}  // namespace scenario::lsp
