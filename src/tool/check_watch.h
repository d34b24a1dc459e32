#pragma once

#include <string_view>

#include "tool/check_command.h"

namespace scenario::tool {

// What `check --watch` prints before and after each check, on lines of
// their own, so that an editor's background problem matcher knows where
// the diagnostics of one check begin and end.
inline constexpr std::string_view kWatchBegins = "scenario check --watch: checking ";
inline constexpr std::string_view kWatchEnds = "scenario check --watch: done, exit status ";

// Checks the scenario, then again after every save of either source, until
// SIGINT or SIGTERM; returns 0 then (2 for bad names or an unwatchable
// directory).
int watch_check(const CheckRequest& request);

}  // namespace scenario::tool
