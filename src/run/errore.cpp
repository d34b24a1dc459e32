#include "run/errore.h"

#include <cstdlib>
#include <iostream>

namespace scenario {

void fail_run(const std::string& message, FrontEnd front_end) {
  if (front_end.show_error_box != nullptr) {
    front_end.show_error_box(message.c_str());
  } else {
    std::cerr << message << "\n";
  }
  std::exit(kErrorExitStatus);
}

void errore(const std::string& a, FrontEnd front_end) { fail_run(" Errore n. " + a, front_end); }

}  // namespace scenario
