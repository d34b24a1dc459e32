#pragma once

#include <string>

namespace scenario::tool {

// `scenario diff A B`, as parsed.
struct DiffRequest {
  std::string a;
  std::string b;
};

// As diff(1) answers: 0 the same, 1 different, 2 trouble (a file that
// cannot be read, differences that cannot be written).
inline constexpr int kDiffSame = 0;
inline constexpr int kDiffDifferent = 1;
inline constexpr int kDiffTrouble = 2;

// Prints the differences of two scenario files; returns the exit status.
int diff(const DiffRequest& request);

}  // namespace scenario::tool
