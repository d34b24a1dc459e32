#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace scenario::tool {

// What is wrong with SCENARIO and TRAIN as the names of a run's files, said
// with the name at fault, or nothing when both are usable. Every command that
// takes the two names asks before it reads or writes anything: a name must
// not be empty, ".", ".." or hold a '/' or a NUL; it must be UTF-8 of
// characters that Windows-1252 holds, since the files store it so; every
// file the run makes, its temporary included, must fit the system's limit on
// a file name; and no two of the run's files may share a name or be taken
// for another's kind or for a dead run's temporary.
std::optional<std::string> run_names_problem(std::string_view scenario, std::string_view train);

// Says on the error stream, as a usage error of `scenario COMMAND`, what
// run_names_problem finds; false when both names are usable.
bool names_refused(std::string_view command, std::string_view scenario, std::string_view train);

// The name as the files store it: Windows-1252. Only for names that passed
// run_names_problem.
std::string stored_name(std::string_view name);

}  // namespace scenario::tool
