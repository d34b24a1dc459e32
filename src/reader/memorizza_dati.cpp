#include "reader/memorizza_dati.h"

#include <exception>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>

#include "io/read_file.h"
#include "model/run_failure.h"
#include "reader/error_site.h"
#include "reader/field_reader.h"
#include "reader/line_source.h"
#include "reader/reader_state.h"
#include "reader/refuse.h"
#include "reader/train_source.h"

namespace scenario {
namespace {

// A refusal that concerns a whole file rather than one of its fields.
void refuse_file(RouteModel& model, ErrorCode code, std::string file, std::string detail) {
  model.error_code = code;
  model.error_site = ErrorSite{};
  model.error_site.file = std::move(file);
  model.error_site.detail = std::move(detail);
}

// Where a source's bytes come from when its turn comes: its file, read into
// storage, or memory.
using FetchSource = std::function<std::string_view(const std::filesystem::path&, std::string& storage)>;

// The source being read: its bytes and the field reader over them. It lives
// outside the failure trap, so that the trap can still point into the source.
class OpenSource {
 public:
  explicit OpenSource(FetchSource fetch) : fetch_(std::move(fetch)) {}

  // A source that cannot be read is a run-time failure of the trap; the
  // message names the file and the system's reason.
  FieldReader& open(const std::filesystem::path& path) {
    close();
    file_ = path.filename().string();
    return reader_.emplace(fetch_(path, storage_), file_);
  }

  void close() { reader_.reset(); }

  // The trap's diagnostic: the field at fault (by default the one the
  // reader was at), or the file alone.
  void mark_failure(RouteModel& model, const std::string& what, std::optional<FieldSite> at = {}) const {
    if (reader_) {
      refuse(model, kRunFailure, what);
      mark_site(model, *reader_, at.value_or(reader_->site()));
    } else {
      refuse_file(model, kRunFailure, file_, what);
    }
  }

 private:
  FetchSource fetch_;
  std::string file_;
  std::string storage_;
  std::optional<FieldReader> reader_;
};

std::string_view read_source_file(const std::filesystem::path& path, std::string& storage) {
  storage = read_file(path, {.bytes = kLargestSource, .of = "the largest source"});
  return storage;
}

// Deleting is the package's way with its own transient sources; an author's
// sources are read the same way and left alone.
class SourceDeletion {
 public:
  SourceDeletion(const RunFiles& files, SourcePolicy policy) : files_(files), policy_(policy) {}

  // A source that cannot be deleted is a failing file operation.
  void remove(const std::filesystem::path& path) const {
    if (policy_ != SourcePolicy::kDelete) return;
    std::error_code error;
    std::filesystem::remove(path, error);
    if (error) throw RunFailure("cannot delete " + path.string() + ": " + error.message());
  }

  // The trap deletes what still exists, as far as it can.
  void remove_remaining() const noexcept {
    if (policy_ != SourcePolicy::kDelete) return;
    std::error_code ignored;
    std::filesystem::remove(files_.line_source, ignored);
    std::filesystem::remove(files_.train_source, ignored);
  }

 private:
  const RunFiles& files_;
  SourcePolicy policy_;
};

// The train source is read only after a normal end of the line source or its
// error 15; every other line error leaves it unread on disk.
void read_sources(RouteModel& model, const RunFiles& files, const SourceDeletion& deletion,
                  OpenSource& source) {
  ReaderState state;
  const LineOutcome outcome = read_line_source(model, source.open(files.line_source), state);
  source.close();
  deletion.remove(files.line_source);
  // A recovering reading goes on to the train records whenever there is a
  // grid to place them on.
  const bool train_readable = model.notes.recover && !model.cells.empty();
  if (outcome == LineOutcome::kStop && !train_readable) return;
  if (model.notes.recover && model.error_code != 0) note_recorded_error(model);
  read_train_source(model, source.open(files.train_source), state);
  source.close();
  deletion.remove(files.train_source);
}

void copy_names(RouteModel& model) {
  model.entries[kScenarioRow].text = model.scenario_name;
  model.entries[kTrainRow].text = model.train_number;
}

void read_trapped(RouteModel& model, const RunFiles& files, const SourceDeletion& deletion, FetchSource fetch) {
  OpenSource source(std::move(fetch));
  try {
    read_sources(model, files, deletion, source);
  } catch (const RecordFailure& failure) {
    source.mark_failure(model, failure.what(), failure.site);
    deletion.remove_remaining();
  } catch (const std::exception& failure) {
    // The one trap of the reading: any run-time failure of either half.
    source.mark_failure(model, failure.what());
    deletion.remove_remaining();
  }
  if (model.notes.recover && model.error_code != 0) note_recorded_error(model);
}

}  // namespace

void memorizza_dati(RouteModel& model, const RunFiles& files, SourcePolicy policy) {
  copy_names(model);
  if (file_missing(files.line_source)) {
    refuse_file(model, kNoLineSource, files.line_source.filename().string(),
                "the line source " + files.line_source.string() + " does not exist");
    return;
  }
  read_trapped(model, files, SourceDeletion(files, policy), read_source_file);
}

void memorizza_dati(RouteModel& model, const RunFiles& files, const SourceTexts& texts) {
  copy_names(model);
  read_trapped(model, files, SourceDeletion(files, SourcePolicy::kKeep),
               [&](const std::filesystem::path& path, std::string&) {
                 return path == files.line_source ? texts.line : texts.train;
               });
}

}  // namespace scenario
