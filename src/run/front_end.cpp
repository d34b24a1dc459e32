#include "run/front_end.h"

#include <dlfcn.h>

#include <cstdlib>

#include "run/window.h"

namespace scenario {
namespace {

bool display_named() {
  const char* display = std::getenv("DISPLAY");
  return display != nullptr && *display != '\0';
}

// The address of a function of the window module, of the type its
// declaration gives it; null when the module lacks it.
template <typename Function>
Function* function_of(void* module, const char* name) {
  return reinterpret_cast<Function*>(::dlsym(module, name));
}

}  // namespace

FrontEnd open_front_end(const std::filesystem::path& program_dir) {
  if (!display_named()) return kConsole;
  // The module stays loaded until the process ends, as its window does.
  void* module = ::dlopen((program_dir / WINDOW_MODULE).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) return kConsole;
  auto* open_display = function_of<decltype(window_open_display)>(module, "window_open_display");
  auto* show_waiting = function_of<decltype(window_show_waiting)>(module, "window_show_waiting");
  auto* show_error_box = function_of<decltype(window_show_error_box)>(module, "window_show_error_box");
  if (open_display == nullptr || show_waiting == nullptr || show_error_box == nullptr) return kConsole;
  if (open_display() == 0) return kConsole;
  show_waiting();
  return FrontEnd{show_error_box};
}

}  // namespace scenario
