#pragma once

#include <cstddef>
#include <string_view>

// How far a field of a source line reaches, as the field reader takes it.

namespace scenario::lsp {

// The end (exclusive) of the field that starts at byte start: a quoted
// field runs to its closing quote; a number to the blank, comma or line end
// after it; any other field to the next comma, without its trailing blanks.
size_t field_end(std::string_view line, size_t start);

// The end of the line's content, without blanks and commas after it.
size_t content_end(std::string_view line);

bool is_blank(char c);

}  // namespace scenario::lsp
