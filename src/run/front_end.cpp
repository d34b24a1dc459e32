#include "run/front_end.h"

#include <X11/Xlib.h>
#include <dlfcn.h>

#include <cstdlib>

#include "run/window.h"

namespace scenario {
namespace {

// Loaded at run time, as the window module is: the program itself links no
// window code and no X code.
constexpr const char* kX11Library = "libX11.so.6";

bool display_named() {
  const char* display = std::getenv("DISPLAY");
  return display != nullptr && *display != '\0';
}

// The address of a function of a loaded library, of the type its declaration
// gives it; null when the library lacks it.
template <typename Function>
Function* function_of(void* library, const char* name) {
  return reinterpret_cast<Function*>(::dlsym(library, name));
}

// The X library's calls that open and close a connection to the display.
struct XConnection {
  decltype(XOpenDisplay)* open = nullptr;
  decltype(XCloseDisplay)* close = nullptr;
};

// Asks the X library alone, so that the window library's start-up code runs
// only once there is a display. The X library stays loaded: the window module
// uses the same copy.
XConnection load_x_library() {
  void* x11 = ::dlopen(kX11Library, RTLD_NOW | RTLD_LOCAL);
  if (x11 == nullptr) return {};
  XConnection x{function_of<decltype(XOpenDisplay)>(x11, "XOpenDisplay"),
                function_of<decltype(XCloseDisplay)>(x11, "XCloseDisplay")};
  return x.open != nullptr && x.close != nullptr ? x : XConnection{};
}

// The window module's two calls; null when the module cannot be loaded.
struct WindowModule {
  decltype(window_show_waiting)* show_waiting = nullptr;
  decltype(window_show_error_box)* show_error_box = nullptr;
};

WindowModule load_window_module(const std::filesystem::path& program_dir) {
  // The module stays loaded until the process ends, as its window does.
  void* module = ::dlopen((program_dir / WINDOW_MODULE).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) return {};
  WindowModule window{function_of<decltype(window_show_waiting)>(module, "window_show_waiting"),
                      function_of<decltype(window_show_error_box)>(module, "window_show_error_box")};
  return window.show_waiting != nullptr && window.show_error_box != nullptr ? window : WindowModule{};
}

}  // namespace

FrontEnd open_front_end(const std::filesystem::path& program_dir) {
  if (!display_named()) return kConsole;
  const XConnection x = load_x_library();
  if (x.open == nullptr) return kConsole;
  Display* display = x.open(nullptr);
  if (display == nullptr) return kConsole;
  const WindowModule window = load_window_module(program_dir);
  if (window.show_waiting == nullptr) {
    x.close(display);
    return kConsole;
  }
  // The window keeps the connection for the rest of the run.
  window.show_waiting(display);
  return FrontEnd{window.show_error_box};
}

}  // namespace scenario
