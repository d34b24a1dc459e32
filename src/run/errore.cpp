#include "run/errore.h"

#include <cstdio>
#include <cstdlib>

#include "model/windows1252.h"

namespace scenario {

void fail_run(const std::string& message, FrontEnd front_end) {
  // On the console the program's directory in a message is shown as the tool
  // shows paths, control bytes escaped.
  if (!show_error_box(front_end, message)) std::fprintf(stderr, "%s\n", printable_text(message).c_str());
  std::exit(kErrorExitStatus);
}

void errore(const std::string& a, FrontEnd front_end) { fail_run(" Errore n. " + a, front_end); }

}  // namespace scenario
