#include <filesystem>
#include <string>
#include <stdexcept>

#include "compile/memorizza_percorso.h"
#include "run/errore.h"
#include "run/front_end.h"
#include "run/run_sequence.h"

namespace {

// Every file of the run lives in the directory that holds the program, and
// so does its window module.
std::filesystem::path program_directory() { return std::filesystem::read_symlink("/proc/self/exe").parent_path(); }

}  // namespace

int main() {
  using namespace scenario;
  const std::filesystem::path dir = program_directory();
  const FrontEnd front_end = open_front_end(dir);
  try {
    run_package(dir);
  } catch (const FatalError& e) {
    errore(std::to_string(e.number), front_end);
  } catch (const std::exception& e) {  // a file that cannot be written, a text too long to store
    fail_run(e.what(), front_end);
  }
  return 0;
}
