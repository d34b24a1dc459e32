#include "inspect/json_stream.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>
#include <type_traits>

namespace scenario {
namespace {

using nlohmann::ordered_json;

constexpr int kIndent = 2;

std::string dumped(const ordered_json& json) {
  return json.dump(kIndent, ' ', false, ordered_json::error_handler_t::replace);
}

void indent(std::ostream& out, int depth) { out << std::string(static_cast<size_t>(depth * kIndent), ' '); }

// A value dumped on its own starts at depth 0: its inner lines move in to
// where it stands.
void write_value(std::ostream& out, const ordered_json& value, int depth) {
  const std::string text = dumped(value);
  size_t start = 0;
  for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    out << std::string_view(text).substr(start, end + 1 - start);
    indent(out, depth);
    start = end + 1;
  }
  out << std::string_view(text).substr(start);
}

// Ends a list that write_list or write_numbers began: "[]" when nothing was
// listed, else the closing bracket on a line of its own.
void close_list(std::ostream& out, int depth, bool empty) {
  if (empty) {
    out << "[]";
    return;
  }
  out << "\n";
  indent(out, depth);
  out << "]";
}

void write_list(std::ostream& out, const JsonList& list, int depth) {
  bool first = true;
  for (size_t i = 0; i < list.count; ++i) {
    const std::optional<ordered_json> element = list.element(i);
    if (!element) continue;
    out << (first ? "[\n" : ",\n");
    first = false;
    indent(out, depth + 1);
    write_value(out, *element, depth + 1);
  }
  close_list(out, depth, first);
}

ordered_json number_json(const JsonNumber& number) {
  switch (number.kind) {
    case JsonNumber::Kind::kInteger: return number.integer;
    case JsonNumber::Kind::kDouble: return number.real;
    case JsonNumber::Kind::kNull: break;
  }
  return nullptr;
}

// Room for the longest number dump writes, as its own buffer has.
constexpr size_t kNumberRoom = 64;
// Numbers go to the stream in writes of about this many bytes.
constexpr size_t kNumberChunk = 64 * 1024;

// The text dump gives a number: integers in decimal, doubles in nlohmann's
// shortest form ("0.0", "1e+20", "-0.1"), anything not finite as null.
char* put_number(char* at, const JsonNumber& number) {
  static constexpr std::string_view kNull = "null";
  if (number.kind == JsonNumber::Kind::kInteger) return std::to_chars(at, at + kNumberRoom, number.integer).ptr;
  if (number.kind == JsonNumber::Kind::kDouble && std::isfinite(number.real)) {
    return nlohmann::detail::to_chars(at, at + kNumberRoom, number.real);
  }
  return std::copy(kNull.begin(), kNull.end(), at);
}

// One element a line, as write_list puts them, through a buffer of a few
// chunks' worth: the plan of a long route has two million numbers.
void write_numbers(std::ostream& out, const JsonNumbers& numbers, int depth) {
  const size_t indent_width = static_cast<size_t>((depth + 1) * kIndent);
  std::vector<char> buffer(kNumberChunk + indent_width + kNumberRoom + 2);
  char* at = buffer.data();
  bool first = true;
  numbers.for_each([&](std::span<const JsonNumber> run) {
    for (const JsonNumber& number : run) {
      *at++ = first ? '[' : ',';
      *at++ = '\n';
      first = false;
      at = std::fill_n(at, indent_width, ' ');
      at = put_number(at, number);
      if (static_cast<size_t>(at - buffer.data()) >= kNumberChunk) {
        out.write(buffer.data(), at - buffer.data());
        at = buffer.data();
      }
    }
  });
  out.write(buffer.data(), at - buffer.data());
  close_list(out, depth, first);
}

ordered_json made(const JsonNumbers& numbers) {
  ordered_json array = ordered_json::array();
  numbers.for_each([&array](std::span<const JsonNumber> run) {
    for (const JsonNumber& number : run) array.push_back(number_json(number));
  });
  return array;
}

ordered_json made(const JsonList& list) {
  ordered_json array = ordered_json::array();
  for (size_t i = 0; i < list.count; ++i) {
    if (std::optional<ordered_json> element = list.element(i)) array.push_back(std::move(*element));
  }
  return array;
}

}  // namespace

ordered_json to_json(const JsonMembers& members) {
  ordered_json object = ordered_json::object();
  for (const JsonMember& member : members) {
    object[member.key] = std::visit(
        [](const auto& value) -> ordered_json {
          if constexpr (std::is_same_v<std::decay_t<decltype(value)>, ordered_json>) {
            return value;
          } else {
            return made(value);
          }
        },
        member.value);
  }
  return object;
}

void write_json(std::ostream& out, const JsonMembers& members, int depth) {
  if (members.empty()) {
    out << "{}";
    return;
  }
  out << "{\n";
  for (size_t i = 0; i < members.size(); ++i) {
    indent(out, depth + 1);
    out << dumped(members[i].key) << ": ";
    if (const auto* value = std::get_if<ordered_json>(&members[i].value)) {
      write_value(out, *value, depth + 1);
    } else if (const auto* list = std::get_if<JsonList>(&members[i].value)) {
      write_list(out, *list, depth + 1);
    } else {
      write_numbers(out, std::get<JsonNumbers>(members[i].value), depth + 1);
    }
    out << (i + 1 < members.size() ? ",\n" : "\n");
  }
  indent(out, depth);
  out << "}";
}

void write_json_array(std::ostream& out, const std::vector<JsonMembers>& objects) {
  out << (objects.empty() ? "[]" : "[\n");
  for (size_t i = 0; i < objects.size(); ++i) {
    indent(out, 1);
    write_json(out, objects[i], 1);
    out << (i + 1 < objects.size() ? ",\n" : "\n");
  }
  if (!objects.empty()) out << "]";
}

}  // namespace scenario
