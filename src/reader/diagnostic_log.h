#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "model/diagnostic.h"

namespace scenario {

// The diagnostics of one reading, in the order they are met. A source at the
// size cap can give hundreds of thousands of them: the log keeps the first
// kKept errors and the first kKept warnings whole and only counts the rest,
// so that its memory stays bounded whatever the source.
class DiagnosticLog {
 public:
  static constexpr size_t kKept = 1000;

  void warn(Diagnostic warning);

  // Notes an error unless the same fault at the same place is noted
  // already (a value blamed on its record by every later record of its
  // kind). A kept error stays kept past the cap. Returns whether it was new.
  bool note_error(Diagnostic error, bool keep);

  bool has_errors() const { return errors_ > 0; }
  size_t unlisted_errors() const { return errors_ - kept_errors_; }
  size_t unlisted_warnings() const { return warnings_ - kept_warnings_; }

  // How many diagnostics are kept so far: a mark for bring_forward.
  size_t kept() const { return kept_.size(); }

  // Moves the diagnostics kept since `from` to stand before those kept since
  // `to`, each group in its own order.
  void bring_forward(size_t to, size_t from);

  // The kept diagnostics, the log emptied.
  std::vector<Diagnostic> take() { return std::move(kept_); }

 private:
  uint64_t fault_key(const Diagnostic& error);

  std::vector<std::string> files_;
  std::vector<Diagnostic> kept_;
  size_t kept_errors_ = 0;
  size_t kept_warnings_ = 0;
  size_t errors_ = 0;
  size_t warnings_ = 0;
  std::unordered_set<uint64_t> seen_;  // file, code, line and column of each error
};

}  // namespace scenario
