#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

// A set of files in one directory is switched to its new files through an
// intent record: once every new file is complete and on disk under its
// temporary name, the record of which temporary becomes which file is put on
// disk, and only then are the files renamed one by one. From the moment the
// record exists the switch is decided: whoever next holds the directory's
// lock completes it, whatever instant a crash stopped the renames at. The
// record goes once the renames are on disk. A crash before the record exists
// leaves the old set, and temporaries that the sweep of dead writers removes.
inline constexpr std::string_view kIntentName = ".scenario.intent";

// One file of a switch: the temporary that becomes the target, both names of
// files in the record's directory.
struct Renaming {
  std::string temporary;
  std::string target;
};

// The record's bytes: a header line, then each temporary and its target, each
// name followed by a NUL (the one byte no file name holds).
std::string encode_intent(const std::vector<Renaming>& renamings);

// The renamings of a record. A record that is not one this program wrote, or
// that names anything but a temporary of its own target in its own directory,
// is refused with std::runtime_error: a switch only ever renames a writer's
// temporary over its target.
std::vector<Renaming> decode_intent(std::string_view bytes);

// Removes the record of a switch whose renames are on disk; none there is
// no failure.
void remove_intent(const std::filesystem::path& dir);

// Whether a switch is recorded in dir and not yet complete.
bool switch_pending(const std::filesystem::path& dir);

// Completes the switch recorded in dir, if any: each temporary still there
// replaces its target, the directory is put on disk, and the record goes.
// Completing twice is completing once: a temporary already renamed is no
// longer there. Run under the directory's lock. Throws std::runtime_error
// naming the record and what failed.
void complete_pending_switch(const std::filesystem::path& dir);

}  // namespace scenario
