#include "reader/diagnostic_log.h"

#include <algorithm>
#include <utility>

namespace scenario {

// Lines and columns stay below 2^24 in a source under the size cap, error
// numbers below 2^14, and a reading meets two file names.
uint64_t DiagnosticLog::fault_key(const Diagnostic& error) {
  auto file = std::find(files_.begin(), files_.end(), error.site.file);
  if (file == files_.end()) file = files_.insert(files_.end(), error.site.file);
  const auto index = static_cast<uint64_t>(file - files_.begin()) & 0x3u;
  const uint64_t code = static_cast<uint32_t>(error.code) & 0x3FFFu;
  const uint64_t line = static_cast<uint32_t>(error.site.line) & 0xFFFFFFu;
  const uint64_t column = static_cast<uint32_t>(error.site.column) & 0xFFFFFFu;
  return index << 62 | code << 48 | line << 24 | column;
}

void DiagnosticLog::warn(Diagnostic warning) {
  ++warnings_;
  if (kept_warnings_ >= kKept) return;
  ++kept_warnings_;
  kept_.push_back(std::move(warning));
}

bool DiagnosticLog::note_error(Diagnostic error, bool keep) {
  if (!seen_.insert(fault_key(error)).second) return false;
  ++errors_;
  if (kept_errors_ >= kKept && !keep) return true;
  ++kept_errors_;
  kept_.push_back(std::move(error));
  return true;
}

void DiagnosticLog::bring_forward(size_t to, size_t from) {
  const auto begin = kept_.begin();
  std::rotate(begin + static_cast<std::ptrdiff_t>(to), begin + static_cast<std::ptrdiff_t>(from), kept_.end());
}

}  // namespace scenario
