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

// Whether the display can be opened, asked of the X library alone, so that
// the window library's start-up code runs only once there is a display. The
// X library stays loaded: the window module uses the same copy.
bool display_opens() {
  void* x11 = ::dlopen(kX11Library, RTLD_NOW | RTLD_LOCAL);
  if (x11 == nullptr) return false;
  auto* open_display = function_of<decltype(XOpenDisplay)>(x11, "XOpenDisplay");
  auto* close_display = function_of<decltype(XCloseDisplay)>(x11, "XCloseDisplay");
  if (open_display == nullptr || close_display == nullptr) return false;
  Display* display = open_display(nullptr);
  if (display == nullptr) return false;
  close_display(display);
  return true;
}

}  // namespace

FrontEnd open_front_end(const std::filesystem::path& program_dir) {
  if (!display_named() || !display_opens()) return kConsole;
  // The module stays loaded until the process ends, as its window does.
  void* module = ::dlopen((program_dir / WINDOW_MODULE).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) return kConsole;
  auto* show_waiting = function_of<decltype(window_show_waiting)>(module, "window_show_waiting");
  auto* show_error_box = function_of<decltype(window_show_error_box)>(module, "window_show_error_box");
  if (show_waiting == nullptr || show_error_box == nullptr) return kConsole;
  show_waiting();
  return FrontEnd{show_error_box};
}

}  // namespace scenario
