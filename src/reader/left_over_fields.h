#pragma once

#include <optional>
#include <string_view>

#include "model/diagnostic.h"
#include "reader/field_reader.h"
#include "reader/record_loop.h"

// What stands on a record's line after its last field. The reading takes it
// for the next record's keyword field, and a field that starts no record
// changes nothing: a number too many is dropped without a word.

namespace scenario {

// A field that follows the reader on its line, the blanks around it dropped.
struct LeftOver {
  std::string_view text;
  FieldSite site;
};

// The first field after the reader on its line that is not empty; nothing
// when the line ends first (or the reader stands at the start of a line).
std::optional<LeftOver> first_left_over(const FieldReader& reader);

// A field holding "-" is a comment, which the reading drops; a number such as
// -6 is no comment but a value out of place.
bool is_comment_field(std::string_view field);

// After a record that read all its fields: a number followed by a group of
// three digits (a thousands separator: "14 000" reads as 14, then 000) is a
// digit-group, when the record leaves fields over or the group begins with
// 0; other fields left over on the record's line are extra-fields. A
// comment, a heading and a record that follows on the same line are no
// fields over; a record that ends in a text warns of its own (text-cut).
void warn_left_over(Record& record);

}  // namespace scenario
