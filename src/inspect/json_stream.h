#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <span>
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

// A number, or null where there is none.
struct JsonNumber {
  enum class Kind : uint8_t { kNull, kInteger, kDouble };
  Kind kind = Kind::kNull;
  int64_t integer = 0;
  double real = 0.0;
};

// A list of numbers too long to make a JSON value of each, as the plan's
// coordinates are: each call of for_each hands every element, first to
// last, to the function it is given, a run of them at a time. They are
// written as ordered_json's dump writes them, without a value made for any.
using JsonNumberSink = std::function<void(std::span<const JsonNumber>)>;
struct JsonNumbers {
  std::function<void(const JsonNumberSink&)> for_each;
};

struct JsonMember {
  JsonMember(std::string name, nlohmann::ordered_json json) : key(std::move(name)), value(std::move(json)) {}
  JsonMember(std::string name, JsonList list) : key(std::move(name)), value(std::move(list)) {}
  JsonMember(std::string name, JsonNumbers numbers) : key(std::move(name)), value(std::move(numbers)) {}

  std::string key;
  std::variant<nlohmann::ordered_json, JsonList, JsonNumbers> value;
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
