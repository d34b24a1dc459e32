#include "run/errore.h"

#include <cstdlib>
#include <iostream>

#include "run/window.h"

namespace scenario {

void fail_run(const std::string& message, FrontEnd front_end) {
  if (front_end == FrontEnd::kWindow) {
    show_error_box(message);
  } else {
    std::cerr << message << "\n";
  }
  std::exit(kErrorExitStatus);
}

void errore(const std::string& a, FrontEnd front_end) { fail_run(" Errore n. " + a, front_end); }

}  // namespace scenario
