#include "tool/colour.h"

#include <unistd.h>

#include <cstdlib>
#include <string_view>

namespace scenario::tool {
namespace {

bool set(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

bool terminal_takes_colour() {
  const char* term = std::getenv("TERM");
  return term != nullptr && std::string_view(term) != "dumb" && ::isatty(STDERR_FILENO) == 1;
}

}  // namespace

bool colours_wanted(ColourMode mode) {
  switch (mode) {
    case ColourMode::kAlways: return true;
    case ColourMode::kNever: return false;
    case ColourMode::kAuto: return !set("NO_COLOR") && terminal_takes_colour();
  }
  return false;
}

}  // namespace scenario::tool
