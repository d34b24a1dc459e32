#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace scenario::tool {

// What an error number of the compiler means to a route author: the one
// source of `scenario explain N` and of docs/errors.md.
struct ErrorExplanation {
  int32_t number = 0;
  std::string_view meaning;  // what the number says, in a line
  std::string_view cause;    // how an author typically gets it
  std::string_view fix;      // what to change
  std::string_view example;  // source lines that give it, one per line
};

// Every number the compiler can report, in ascending order.
std::span<const ErrorExplanation> error_catalogue();

// The entry of a number; nullptr for a number the compiler never reports.
const ErrorExplanation* explain_error(int32_t number);

// One entry as `scenario explain` prints it, and the whole catalogue as the
// Markdown of docs/errors.md.
std::string explanation_text(const ErrorExplanation& entry);
std::string error_catalogue_markdown();

// Each line of an example indented, as a code block is in Markdown, the last
// ended with a line end.
std::string indented(std::string_view text, std::string_view indent);

}  // namespace scenario::tool
