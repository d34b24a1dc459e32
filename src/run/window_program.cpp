// The package's window program: started by the package when DISPLAY names a
// display, it shows the waiting window for the length of the run and, when
// the run fails, the error box (see window_channel.h).
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "run/window.h"
#include "run/window_channel.h"

namespace {

using scenario::kWindowChannelFd;

// Statuses of a window program that shows no window; the package only sees
// that the ready byte never came.
constexpr int kNoDisplay = 3;
constexpr int kNoWindowModule = 4;
constexpr int kWindowNotMapped = 5;

// The address of a function of a loaded library, of the type its declaration
// gives it; null when the library lacks it.
template <typename Function>
Function* function_of(void* library, const char* name) {
  return reinterpret_cast<Function*>(::dlsym(library, name));
}

// The window module's two calls; null when the module cannot be loaded.
struct WindowModule {
  decltype(window_show_waiting)* show_waiting = nullptr;
  decltype(window_show_error_box)* show_error_box = nullptr;
};

// The module lies beside the program, and stays loaded until the program
// ends, as its window does.
WindowModule load_window_module() {
  const std::filesystem::path dir = std::filesystem::read_symlink("/proc/self/exe").parent_path();
  void* module = ::dlopen((dir / WINDOW_MODULE).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) return {};
  WindowModule window{function_of<decltype(window_show_waiting)>(module, "window_show_waiting"),
                      function_of<decltype(window_show_error_box)>(module, "window_show_error_box")};
  return window.show_waiting != nullptr && window.show_error_box != nullptr ? window : WindowModule{};
}

// Everything the package sends until it shuts its end for writing.
std::string read_message() {
  std::string message;
  char chunk[4096];
  ssize_t got = 0;
  while ((got = ::read(kWindowChannelFd, chunk, sizeof chunk)) > 0 || (got < 0 && errno == EINTR)) {
    if (got > 0) message.append(chunk, static_cast<size_t>(got));
  }
  return message;
}

bool send_byte(char byte) { return ::send(kWindowChannelFd, &byte, 1, MSG_NOSIGNAL) == 1; }

}  // namespace

int main() {
  // The X library alone says whether the display opens, so that the window
  // library's start-up code runs only once it has; the window keeps this
  // connection, since a second one would race a server that starts afresh
  // once its last client has left.
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return kNoDisplay;
  const WindowModule window = load_window_module();
  if (window.show_waiting == nullptr) {
    XCloseDisplay(display);
    return kNoWindowModule;
  }
  if (!window.show_waiting(display)) return kWindowNotMapped;
  if (!send_byte(scenario::kWindowReady)) return 0;
  const std::string message = read_message();
  if (message.empty()) return 0;
  window.show_error_box(message.c_str());
  send_byte(scenario::kBoxClosed);
  return 0;
}
