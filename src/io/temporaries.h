#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// A file is written under a temporary name beside its target and renamed over
// it when complete. The name carries the writer's process id,
// ".TARGET.part-PID-XXXXXX", so that a later run can tell a temporary whose
// writer was killed from one still being written, and remove it. (Unnamed
// O_TMPFILE files would still need a named step to replace a target, and a
// fallback where the file system lacks them: one scheme serves everywhere.)

// The mkstemp pattern of target's temporary for this process.
std::string temporary_pattern(const std::filesystem::path& target);

// The length of the longest temporary name a file of this name can have, its
// writer's process id at the most digits: what must fit the system's limit.
size_t longest_temporary_name(std::string_view file_name);

// The process that writes the temporary of this file name, or nothing when the
// name is not one of a temporary.
std::optional<pid_t> temporary_writer(std::string_view file_name);

// The name of the file a temporary replaces: ".S_1.dat.part-42-a1B2c3" is
// S_1.dat's. Nothing when the name is not one of a temporary.
std::optional<std::string_view> temporary_target(std::string_view file_name);

// Whether a file name is one that this program's runs write, so that a
// temporary of it is theirs; the run-file naming says so (io/ spells no
// run file's name). A user's ".notes.part-31999-backup" is no temporary of
// ours, whatever it looks like.
using OwnFileName = bool (*)(std::string_view file_name);

// Removes from dir the temporaries whose writer no longer runs and whose
// target is an own file name (or the intent record, io/'s own).
void remove_dead_temporaries(const std::filesystem::path& dir, OwnFileName own);

}  // namespace scenario
