#include "reader/memorizza_dati.h"

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "io/file_error.h"
#include "io/file_system.h"
#include "io/read_file.h"
#include "model/error_codes.h"

namespace scenario {
namespace {

// A source that cannot be deleted is a failure of the reading, about its file.
void record_failure(ReadReport& report, const std::filesystem::path& path, const std::string& why) {
  Diagnostic failure{Severity::kError, kRunFailure, {},
                     file_site(path.filename().string(), "cannot delete " + path.string() + ": " + why)};
  report.recorded = failure;
  report.diagnostics.push_back(std::move(failure));
}

// The errno of a deletion that failed; 0 once the file is gone, or when it
// was gone already.
int delete_file(const std::filesystem::path& path) {
  return file_system().unlink(path) == 0 || errno == ENOENT ? 0 : errno;
}

bool deleted(const std::filesystem::path& path, ReadReport& report) {
  const int error = delete_file(path);
  if (error != 0) record_failure(report, path, file_category().message(error));
  return error == 0;
}

// After a failure of the reading whatever still exists goes, as far as it can.
void delete_remaining(const RunFiles& files) {
  delete_file(files.line_source);
  delete_file(files.train_source);
}

void delete_read_sources(const RunFiles& files, ReadReport& report) {
  if (report.error_code() == kRunFailure) return delete_remaining(files);
  if (!deleted(files.line_source, report)) return delete_remaining(files);
  if (report.train_reached) deleted(files.train_source, report);
}

}  // namespace

SourceText load_source(const std::filesystem::path& path, FileBytes& storage, bool line_source) {
  if (line_source && file_missing(path)) {
    return SourceText::missing("the line source " + path.string() + " does not exist");
  }
  try {
    storage = read_file(path, {.bytes = kLargestSource, .of = "the largest source"});
  } catch (const std::system_error& trouble) {
    return SourceText::unreadable(trouble.what());
  }
  return SourceText(storage.view());
}

ReadResult memorizza_dati(const RunFiles& files, ReadOptions options, SourcePolicy policy) {
  options.line_file = files.line_source.filename().string();
  options.train_file = files.train_source.filename().string();
  FileBytes line_text;
  FileBytes train_text;
  const SourceText line = load_source(files.line_source, line_text, true);
  const SourceText train = load_source(files.train_source, train_text, false);
  ReadResult result;
  try {
    result = read_sources(line, train, options);
  } catch (...) {  // a fault of the program: the package's sources go all the same
    if (policy == SourcePolicy::kDelete) delete_remaining(files);
    throw;
  }
  if (policy == SourcePolicy::kDelete && line.trouble != SourceText::Trouble::kMissing) {
    delete_read_sources(files, result.report);
  }
  return result;
}

}  // namespace scenario
