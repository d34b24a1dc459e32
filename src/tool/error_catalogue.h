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

// What an entry of either catalogue, of errors or of warnings, says.
struct EntryText {
  std::string_view meaning;
  std::string_view cause;
  std::string_view fix;
  std::string_view example;
};

// An entry under its title ("error 25", "warning text-cut") as `scenario
// explain` prints it, and under its heading as a section of docs/errors.md.
std::string entry_text(const std::string& title, const EntryText& entry);
std::string markdown_entry(const std::string& heading, const EntryText& entry);

}  // namespace scenario::tool
