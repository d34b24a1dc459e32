#include "run/front_end.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <thread>

#include "run/window_channel.h"

extern char** environ;

namespace scenario {
namespace {

using Clock = std::chrono::steady_clock;

// How often the package looks whether the window program has ended.
constexpr std::chrono::milliseconds kEndPoll{10};

bool display_named() {
  const char* display = std::getenv("DISPLAY");
  return display != nullptr && *display != '\0';
}

// Waits for the window program to end by the deadline, and kills it when it
// has not; either way it is let go.
void end_by(pid_t program, Clock::time_point deadline) {
  while (::waitpid(program, nullptr, WNOHANG) == 0) {
    if (Clock::now() >= deadline) {
      ::kill(program, SIGKILL);
      while (::waitpid(program, nullptr, 0) == -1 && errno == EINTR) {
      }
      return;
    }
    std::this_thread::sleep_for(kEndPoll);
  }
}

// Starts the window program with its end of the socket as kWindowChannelFd;
// -1 when it cannot be started.
pid_t start_window_program(const std::filesystem::path& program, int channel) {
  posix_spawn_file_actions_t actions;
  if (::posix_spawn_file_actions_init(&actions) != 0) return -1;
  pid_t pid = -1;
  char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
  if (::posix_spawn_file_actions_adddup2(&actions, channel, kWindowChannelFd) != 0 ||
      ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0) {
    pid = -1;
  }
  ::posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Sends all of text; false when the window program has gone.
bool send_all(int socket, const std::string& text) {
  for (size_t sent = 0; sent < text.size();) {
    const ssize_t put = ::send(socket, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    sent += static_cast<size_t>(put);
  }
  return true;
}

// The next byte the window program sends; 0 when it has closed its end, as
// it does when it ends.
char receive_byte(int socket) {
  char byte = 0;
  ssize_t got = 0;
  while ((got = ::read(socket, &byte, 1)) < 0 && errno == EINTR) {
  }
  return got == 1 ? byte : 0;
}

// Whether the socket has a byte, or its end, to read before the deadline.
bool readable_by(int socket, Clock::time_point deadline) {
  pollfd wanted{socket, POLLIN, 0};
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    const int ready = ::poll(&wanted, 1, static_cast<int>(std::max(left, std::chrono::milliseconds::zero()).count()));
    if (ready >= 0 || errno != EINTR) return ready > 0;
  }
}

// The socket is closed, so the window program sees its end, and the program
// is let go.
void let_go(const FrontEnd& front_end, Clock::time_point deadline) {
  ::close(front_end.window);
  end_by(front_end.window_program, deadline);
}

}  // namespace

FrontEnd open_front_end(const std::filesystem::path& program_dir, std::chrono::milliseconds ready_wait) {
  if (!display_named()) return kConsole;
  const Clock::time_point deadline = Clock::now() + ready_wait;
  int ends[2];
  // The package's end is not handed on to the window program.
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return kConsole;
  const FrontEnd front_end{ends[0], start_window_program(program_dir / WINDOW_PROGRAM, ends[1])};
  ::close(ends[1]);
  if (front_end.window_program == -1) {
    ::close(front_end.window);
    return kConsole;
  }
  if (readable_by(front_end.window, deadline) && receive_byte(front_end.window) == kWindowReady) return front_end;
  let_go(front_end, deadline);
  return kConsole;
}

bool show_error_box(const FrontEnd& front_end, const std::string& message) {
  if (front_end.window == -1) return false;
  // The box is up until the user closes it: a wait on a person, without limit.
  // A window program that dies meanwhile closes its end, which ends the wait.
  const bool shown = send_all(front_end.window, message) && ::shutdown(front_end.window, SHUT_WR) == 0 &&
                     receive_byte(front_end.window) == kBoxClosed;
  let_go(front_end, Clock::now() + kWindowReadyWait);
  return shown;
}

void close_front_end(const FrontEnd& front_end, std::chrono::milliseconds end_wait) {
  if (front_end.window == -1) return;
  let_go(front_end, Clock::now() + end_wait);
}

}  // namespace scenario
