#include "run/front_end.h"

#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "run/window_channel.h"

extern char** environ;

namespace scenario {
namespace {

bool display_named() {
  const char* display = std::getenv("DISPLAY");
  return display != nullptr && *display != '\0';
}

// Waits for the window program to end, and lets it go.
void wait_for(pid_t program) {
  int status = 0;
  while (::waitpid(program, &status, 0) == -1 && errno == EINTR) {
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

}  // namespace

FrontEnd open_front_end(const std::filesystem::path& program_dir) {
  if (!display_named()) return kConsole;
  int ends[2];
  // The package's end is not handed on to the window program.
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return kConsole;
  const pid_t program = start_window_program(program_dir / WINDOW_PROGRAM, ends[1]);
  ::close(ends[1]);
  if (program != -1 && receive_byte(ends[0]) == kWindowReady) return FrontEnd{ends[0], program};
  ::close(ends[0]);
  if (program != -1) wait_for(program);
  return kConsole;
}

bool show_error_box(const FrontEnd& front_end, const std::string& message) {
  if (front_end.window == -1) return false;
  const bool shown = send_all(front_end.window, message) && ::shutdown(front_end.window, SHUT_WR) == 0 &&
                     receive_byte(front_end.window) == kBoxClosed;
  ::close(front_end.window);
  wait_for(front_end.window_program);
  return shown;
}

void close_front_end(const FrontEnd& front_end) {
  if (front_end.window == -1) return;
  ::close(front_end.window);
  wait_for(front_end.window_program);
}

}  // namespace scenario
