#include "tool/drawing_program.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "tool/commands.h"
#include "tool/diagnostic.h"

namespace scenario::tool {

int hand_to_drawing_program(char** argv) {
  std::error_code trouble;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", trouble);
  const std::string program = (self.parent_path() / kDrawingProgram).string();
  std::cout.flush();
  std::fflush(nullptr);
  argv[0] = const_cast<char*>(program.c_str());
  ::execv(program.c_str(), argv);
  const int error = errno;
  std::cerr << command_message("render", "internal error: cannot start the drawing program " + program + ": " +
                                             std::strerror(error));
  return kInternalError;
}

}  // namespace scenario::tool
