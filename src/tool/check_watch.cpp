#include "tool/check_watch.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "io/source_watch.h"
#include "model/run_files.h"
#include "tool/commands.h"
#include "tool/diagnostic.h"
#include "tool/run_names.h"

namespace scenario::tool {
namespace {

// Editors write a file in several steps; the check waits for them to settle.
constexpr int kSettleMilliseconds = 100;

// A descriptor closed when it goes out of scope.
struct Descriptor {
  int fd = -1;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

// Each line goes out in one write, so that a reader of the pipe (an
// editor's problem matcher) never sees half of one.
void checked(const CheckRequest& request, const RunFiles& files) {
  std::cerr << std::string(kWatchBegins) + source_path(files.line_source.filename().string(), request.dir) + " and " +
                   source_path(files.train_source.filename().string(), request.dir) + "\n"
            << std::flush;
  const int status = check(request);
  std::cerr << std::string(kWatchEnds) + std::to_string(status) + "; waiting for a save\n" << std::flush;
}

// The saves until a signal: each batch of events that names a source, once
// the directory has been quiet a moment, is one check.
int watch_saves(const CheckRequest& request, const RunFiles& files, SourceWatch& watch, int signal_fd) {
  for (bool pending = false;;) {
    std::array<pollfd, 2> ready = {pollfd{signal_fd, POLLIN, 0}, pollfd{watch.descriptor(), POLLIN, 0}};
    const int polled = ::poll(ready.data(), ready.size(), pending ? kSettleMilliseconds : -1);
    if (polled < 0 && errno != EINTR) return kScenarioError;
    if (ready[0].revents & POLLIN) return kSuccess;
    if (polled == 0 && pending) {
      pending = false;
      checked(request, files);
    } else if (ready[1].revents & POLLIN) {
      pending = watch.saved() || pending;
    }
  }
}

}  // namespace

int watch_check(const CheckRequest& request) {
  if (names_refused("check", request.scenario, request.train)) return kBadCommandLine;
  const std::string dir = request.dir.empty() ? "." : request.dir;
  const RunFiles files = run_files(dir, request.scenario, request.train);
  // The signals are taken as events, so that Ctrl-C ends the watch between checks.
  sigset_t ending;
  sigemptyset(&ending);
  sigaddset(&ending, SIGINT);
  sigaddset(&ending, SIGTERM);
  sigprocmask(SIG_BLOCK, &ending, nullptr);
  const Descriptor signals{::signalfd(-1, &ending, SFD_CLOEXEC)};
  if (signals.fd < 0) {
    std::cerr << "scenario check: cannot watch " << dir << ": " << std::strerror(errno) << "\n";
    return kBadCommandLine;
  }
  std::optional<SourceWatch> watch;
  try {
    watch.emplace(dir, std::vector{files.line_source.filename().string(), files.train_source.filename().string()});
  } catch (const std::system_error& trouble) {
    std::cerr << "scenario check: " << trouble.what() << "\n";
    return kBadCommandLine;
  }
  checked(request, files);
  return watch_saves(request, files, *watch, signals.fd);
}

}  // namespace scenario::tool
