#pragma once

#include <cstddef>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace scenario {

// JSON documents too large to hold whole: the plan of a long route has two
// million values, each far larger as JSON than in its file. An object's
// members are values at hand or lists made one element at a time as they are
// written, so that only one element is ever held.

// A list of count places; element(i) makes the element of place i, or
// nothing when that place is left out.
struct JsonList {
  size_t count = 0;
  std::function<std::optional<nlohmann::ordered_json>(size_t)> element;
};

struct JsonMember {
  JsonMember(std::string name, nlohmann::ordered_json json) : key(std::move(name)), value(std::move(json)) {}
  JsonMember(std::string name, JsonList list) : key(std::move(name)), value(std::move(list)) {}

  std::string key;
  std::variant<nlohmann::ordered_json, JsonList> value;
};
using JsonMembers = std::vector<JsonMember>;

// The object the members stand for, every list made.
nlohmann::ordered_json to_json(const JsonMembers& members);

// Writes the members as an object, the same text that ordered_json's dump
// with an indent of 2 gives for to_json(members) at this depth of nesting.
// Texts that are not UTF-8 show U+FFFD.
void write_json(std::ostream& out, const JsonMembers& members, int depth);

// Writes the objects as an array at the top of a document, as write_json
// writes each.
void write_json_array(std::ostream& out, const std::vector<JsonMembers>& objects);

}  // namespace scenario
