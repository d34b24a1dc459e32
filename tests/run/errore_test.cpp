#include "run/errore.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "model/error_codes.h"

namespace scenario {
namespace {

// On the console the message goes to stderr exactly as the box shows it,
// and the program ends with status 1.
TEST(ErroreDeathTest, ShowsTheNumberAfterErroreNAndEndsTheProgram) {
  EXPECT_EXIT(errore(std::to_string(kMarkTaken), kConsole), ::testing::ExitedWithCode(kErrorExitStatus),
              "^ Errore n\\. 1250\n$");
  EXPECT_EXIT(errore(std::to_string(kRunFailure), kConsole), ::testing::ExitedWithCode(kErrorExitStatus),
              "^ Errore n\\. 25\n$");
}

// A window program that ends before it has shown the box (killed, or its
// display gone) leaves the message on stderr rather than nowhere.
TEST(ErroreDeathTest, WithTheWindowProgramGoneShowsTheNumberOnStderr) {
  const auto errore_after_the_window_has_gone = [] {
    int ends[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    const pid_t window_program = ::fork();
    if (window_program == 0) ::_exit(0);
    ::close(ends[1]);
    errore(std::to_string(kMarkTaken), FrontEnd{ends[0], window_program});
  };
  EXPECT_EXIT(errore_after_the_window_has_gone(), ::testing::ExitedWithCode(kErrorExitStatus),
              "^ Errore n\\. 1250\n$");
}

}  // namespace
}  // namespace scenario
