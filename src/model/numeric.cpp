#include "model/numeric.h"

namespace scenario {

void value_does_not_fit(int64_t value) { throw RunFailure("value " + std::to_string(value) + " does not fit its field"); }

}  // namespace scenario
