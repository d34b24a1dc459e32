#include "run/errore.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace scenario
