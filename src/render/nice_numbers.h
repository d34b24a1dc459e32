#pragma once

#include <cmath>

namespace scenario {

// Round numbers for scales and ticks: 1, 2 or 5 times a power of ten.

// The smallest at least `least`; 1 for a value that is not positive.
inline double nice_at_least(double least) {
  if (!(least > 0) || !std::isfinite(least)) return 1.0;
  const double decade = std::pow(10.0, std::floor(std::log10(least)));
  for (const double f : {1.0, 2.0, 5.0}) {
    if (f * decade >= least) return f * decade;
  }
  return 10 * decade;
}

// The largest at most `most`; 1 for a value that is not positive.
inline double nice_at_most(double most) {
  if (!(most > 0) || !std::isfinite(most)) return 1.0;
  const double decade = std::pow(10.0, std::floor(std::log10(most)));
  double best = decade;
  for (const double f : {2.0, 5.0}) {
    if (f * decade <= most) best = f * decade;
  }
  return best;
}

}  // namespace scenario
