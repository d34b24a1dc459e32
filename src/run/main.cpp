#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "compile/memorizza_percorso.h"
#include "run/errore.h"
#include "run/front_end.h"
#include "run/run_sequence.h"

namespace {

// Every file of the run lives in the directory that holds the program, and
// so does its window module.
std::filesystem::path program_directory() { return std::filesystem::read_symlink("/proc/self/exe").parent_path(); }

int run() {
  using namespace scenario;
  const std::filesystem::path dir = program_directory();
  const FrontEnd front_end = open_front_end(dir);
  try {
    run_package(dir);
  } catch (const FatalError& e) {
    errore(std::to_string(e.number), front_end);
  } catch (const ProgramFault& e) {  // a fault of the program met while reading, never a source's
    fail_run("internal error: " + std::string(e.what()), front_end);
  } catch (const std::exception& e) {  // a file that cannot be written, a text too long to store
    fail_run(e.what(), front_end);
  }
  close_front_end(front_end);
  return 0;
}

}  // namespace

// Whatever escapes the run's own handling (the error box itself failing)
// still ends in a message and a status rather than an abort.
int main() {
  try {
    return run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "dorvallo_brisente: %s\n", e.what());
  } catch (...) {
    std::fputs("dorvallo_brisente: an unknown failure\n", stderr);
  }
  return scenario::kErrorExitStatus;
}
