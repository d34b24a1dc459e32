#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

namespace scenario::testing {

// Whether the server starts afresh whenever its last client leaves, refusing
// new clients while it does, as a bare X server does.
enum class ServerReset { kNever, kWhenIdle };

// A virtual X server on a display number it picks itself, for the life of
// the object.
class VirtualDisplay {
 public:
  explicit VirtualDisplay(ServerReset reset = ServerReset::kNever) {
    int pipe_fds[2];
    if (::pipe(pipe_fds) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(pipe_fds[0]);
      const std::string fd = std::to_string(pipe_fds[1]);
      const char* reset_option = reset == ServerReset::kNever ? "-noreset" : "-reset";
      ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", reset_option, "-screen", "0",
               "640x480x24", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(pipe_fds[1]);
    // The server writes the number and the newline apart, and gives up if the
    // pipe is closed before it has written both.
    std::string number;
    char digit = 0;
    while (::read(pipe_fds[0], &digit, 1) == 1 && digit != '\n') number += digit;
    ::close(pipe_fds[0]);
    if (!number.empty()) display_ = ":" + number;
  }
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;
  ~VirtualDisplay() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  const std::string& name() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// A client of a display that sees the top-level windows other clients show
// on it, and closes them as a user would.
class DisplayWatcher {
 public:
  explicit DisplayWatcher(const std::string& name) : display_(XOpenDisplay(name.c_str())) {
    // A window may vanish between being listed and being asked its name.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    if (display_ == nullptr) return;
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
    XSync(display_, False);
  }
  DisplayWatcher(const DisplayWatcher&) = delete;
  DisplayWatcher& operator=(const DisplayWatcher&) = delete;
  ~DisplayWatcher() {
    if (display_ != nullptr) XCloseDisplay(display_);
  }
  bool connected() const { return display_ != nullptr; }

  // How many top-level windows were shown since the watcher began or since
  // the last call, whether or not they are still there.
  int windows_shown() {
    XSync(display_, False);
    int shown = 0;
    while (XPending(display_) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
      shown += event.type == MapNotify;
    }
    return shown;
  }

  // The top-level window with the given title once it is on the screen;
  // 0 when none is there within the time allowed.
  Window wait_for_window(const std::string& title, std::chrono::seconds allowed = std::chrono::seconds(60)) {
    const auto deadline = std::chrono::steady_clock::now() + allowed;
    while (std::chrono::steady_clock::now() < deadline) {
      if (const Window window = shown_window(title)) return window;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
  }

  // Asks a window to close, as its title bar's close button does.
  void close(Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XFlush(display_);
  }

 private:
  Window shown_window(const std::string& title) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count) == 0) return 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
      if (has_title(children[i], title) && is_viewable(children[i])) found = children[i];
    }
    XFree(children);
    return found;
  }
  bool has_title(Window window, const std::string& title) {
    char* name = nullptr;
    const bool same = XFetchName(display_, window, &name) != 0 && name != nullptr && title == name;
    if (name != nullptr) XFree(name);
    return same;
  }
  bool is_viewable(Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display_, window, &attributes) != 0 && attributes.map_state == IsViewable;
  }

  Display* display_;
};

// A window manager that takes over every request to map a top-level window
// and grants none, for the life of the object.
class WindowManagerThatMapsNothing {
 public:
  explicit WindowManagerThatMapsNothing(const std::string& name) : display_(XOpenDisplay(name.c_str())) {
    if (display_ == nullptr) return;
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureRedirectMask);
    XSync(display_, False);
  }
  WindowManagerThatMapsNothing(const WindowManagerThatMapsNothing&) = delete;
  WindowManagerThatMapsNothing& operator=(const WindowManagerThatMapsNothing&) = delete;
  ~WindowManagerThatMapsNothing() {
    if (display_ != nullptr) XCloseDisplay(display_);
  }
  bool connected() const { return display_ != nullptr; }

 private:
  Display* display_;
};

// A display on 127.0.0.1 that takes connections and never answers, as a hung
// server does: the kernel accepts them into the listening socket's backlog,
// and nobody reads. Its name is empty when no display number was free.
class SilentDisplay {
 public:
  SilentDisplay() : socket_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    constexpr int kFirstNumber = 50;
    constexpr int kNumbersTried = 50;
    for (int number = kFirstNumber; number < kFirstNumber + kNumbersTried && display_.empty(); ++number) {
      if (listens_as(number)) display_ = "127.0.0.1:" + std::to_string(number);
    }
  }
  SilentDisplay(const SilentDisplay&) = delete;
  SilentDisplay& operator=(const SilentDisplay&) = delete;
  ~SilentDisplay() { ::close(socket_); }
  const std::string& name() const { return display_; }

 private:
  // Display number n is served on TCP port 6000 + n.
  bool listens_as(int number) {
    constexpr int kFirstPort = 6000;
    constexpr int kBacklog = 16;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(kFirstPort + number));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return ::bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
           ::listen(socket_, kBacklog) == 0;
  }

  int socket_;
  std::string display_;
};

}  // namespace scenario::testing
