#include "inspect/json_stream.h"

#include <string_view>

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
  if (first) {
    out << "[]";
    return;
  }
  out << "\n";
  indent(out, depth);
  out << "]";
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
    object[member.key] = std::holds_alternative<ordered_json>(member.value)
                             ? std::get<ordered_json>(member.value)
                             : made(std::get<JsonList>(member.value));
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
    } else {
      write_list(out, std::get<JsonList>(members[i].value), depth + 1);
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
