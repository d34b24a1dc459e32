#include "io/temporaries.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <limits>

#include "io/file_system.h"
#include "io/intent_record.h"

namespace scenario {
namespace {

constexpr std::string_view kMark = ".part-";
constexpr std::string_view kUnique = "XXXXXX";

constexpr size_t kMostPidDigits = std::numeric_limits<pid_t>::digits10 + 1;

bool writer_is_gone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

}  // namespace

std::string temporary_pattern(const std::filesystem::path& target) {
  // Built by appends: g++ 12 at -O3 misreads "." + std::string as an
  // overlapping copy (-Wrestrict) and a Release build fails.
  std::string name = ".";
  name += target.filename().string();
  name += kMark;
  name += std::to_string(::getpid());
  name += "-";
  name += kUnique;
  return (target.parent_path() / name).string();
}

size_t longest_temporary_name(std::string_view file_name) {
  return 1 + file_name.size() + kMark.size() + kMostPidDigits + 1 + kUnique.size();
}

std::optional<std::string_view> temporary_target(std::string_view file_name) {
  if (!temporary_writer(file_name)) return std::nullopt;
  return file_name.substr(1, file_name.rfind(kMark) - 1);
}

std::optional<pid_t> temporary_writer(std::string_view file_name) {
  // A dot, at least one character of the target's name, then the mark.
  const size_t mark = file_name.rfind(kMark);
  if (!file_name.starts_with('.') || mark == std::string_view::npos || mark < 2) return std::nullopt;
  const std::string_view rest = file_name.substr(mark + kMark.size());
  if (rest.size() < kUnique.size() + 2 || rest[rest.size() - kUnique.size() - 1] != '-') return std::nullopt;
  const std::string_view digits = rest.substr(0, rest.size() - kUnique.size() - 1);
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
  if (error != std::errc{} || end != digits.data() + digits.size() || pid <= 0) return std::nullopt;
  return pid;
}

void remove_dead_temporaries(const std::filesystem::path& dir, OwnFileName own) {
  // Best effort: a directory that cannot be listed keeps its litter, and the
  // run goes on.
  std::error_code error;
  std::error_code ignored;
  for (auto entry = std::filesystem::directory_iterator(dir, error);
       !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    const std::optional<std::string_view> target = temporary_target(name);
    if (target && (*target == kIntentName || own(*target)) && writer_is_gone(*temporary_writer(name)) &&
        std::filesystem::is_regular_file(entry->symlink_status(ignored))) {
      file_system().unlink(entry->path());
    }
  }
}

}  // namespace scenario
