#include "run/errore.h"

#include <cstdio>
#include <cstdlib>

namespace scenario {

void fail_run(const std::string& message, FrontEnd front_end) {
  if (!show_error_box(front_end, message)) std::fprintf(stderr, "%s\n", message.c_str());
  std::exit(kErrorExitStatus);
}

void errore(const std::string& a, FrontEnd front_end) { fail_run(" Errore n. " + a, front_end); }

}  // namespace scenario
