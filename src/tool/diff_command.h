#pragma once

#include <string>

namespace scenario::tool {

// `scenario diff A B`, as parsed.
struct DiffRequest {
  std::string a;
  std::string b;
};

// Prints the differences of two scenario files; returns the exit status.
int diff(const DiffRequest& request);

}  // namespace scenario::tool
