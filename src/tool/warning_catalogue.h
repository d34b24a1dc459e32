#pragma once

#include <span>
#include <string>
#include <string_view>

namespace scenario::tool {

// What a warning of the readers means to a route author: the one source of
// `scenario explain NAME` and of the warnings in docs/errors.md.
struct WarningExplanation {
  std::string_view name;     // as a diagnostic shows it in brackets
  std::string_view meaning;  // what the warning says, in a line
  std::string_view cause;    // how an author typically gets it
  std::string_view fix;      // what to change
  std::string_view example;  // source lines that give it, one per line
};

// Every warning the readers can give, in alphabetical order of the names.
std::span<const WarningExplanation> warning_catalogue();

// The entry of a name; nullptr for a name no reader gives.
const WarningExplanation* explain_warning(std::string_view name);

// One entry as `scenario explain` prints it, and every entry as the Markdown
// that follows the error numbers in docs/errors.md.
std::string warning_text(const WarningExplanation& entry);
std::string warning_catalogue_markdown();

}  // namespace scenario::tool
