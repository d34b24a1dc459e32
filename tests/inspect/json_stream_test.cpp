#include "inspect/json_stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <span>
#include <sstream>
#include <string>
#include <vector>

namespace scenario {
namespace {

using nlohmann::ordered_json;

std::string dumped(const ordered_json& json) {
  return json.dump(2, ' ', false, ordered_json::error_handler_t::replace);
}

// Members of every shape: plain values, nested objects and arrays, a text
// that is not UTF-8, lists with places left out, an empty list and one with
// every place left out, and lists of numbers.
JsonMembers every_shape() {
  const JsonList squares{5, [](size_t i) { return std::optional<ordered_json>(i * i); }};
  const JsonList odd_objects{6, [](size_t i) {
                               if (i % 2 == 0) return std::optional<ordered_json>();
                               return std::optional<ordered_json>(ordered_json{{"i", i}, {"list", {i, nullptr}}});
                             }};
  const JsonList none_listed{3, [](size_t) { return std::optional<ordered_json>(); }};
  // Numbers of every form dump gives, handed over in runs of two.
  const JsonNumbers numbers{[](const JsonNumberSink& put) {
    using Kind = JsonNumber::Kind;
    const JsonNumber all[] = {
        {Kind::kInteger, -32768, 0}, {Kind::kDouble, 0, 0.0},  {Kind::kDouble, 0, -0.0},
        {Kind::kNull, 0, 0},         {Kind::kDouble, 0, 1e20}, {Kind::kDouble, 0, -4e-4},
        {Kind::kDouble, 0, 1e-5},    {Kind::kDouble, 0, 0.1},  {Kind::kDouble, 0, 1e16},
        {Kind::kDouble, 0, -4.3499719361577744},  // one grisu2 gives more digits than the shortest
        {Kind::kDouble, 0, 123456.0}};
    const std::span<const JsonNumber> every(all);
    for (size_t i = 0; i < every.size(); i += 2) put(every.subspan(i, std::min<size_t>(2, every.size() - i)));
  }};
  const JsonNumbers no_numbers{[](const JsonNumberSink&) {}};
  return {
      {"name", "S\xE8_1.dat"},
      {"count", 3},
      {"box", ordered_json{{"min", {1.5, -2}}, {"empty", ordered_json::object()}}},
      {"squares", squares},
      {"odd", odd_objects},
      {"empty", JsonList{}},
      {"none", none_listed},
      {"numbers", numbers},
      {"no_numbers", no_numbers},
      {"last", nullptr},
  };
}

TEST(JsonStream, WritesWhatTheWholeDocumentDumps) {
  const JsonMembers members = every_shape();
  std::ostringstream one;
  write_json(one, members, 0);
  EXPECT_EQ(one.str(), dumped(to_json(members)));

  std::ostringstream several;
  write_json_array(several, {members, JsonMembers{}, members});
  EXPECT_EQ(several.str(), dumped(ordered_json::array({to_json(members), ordered_json::object(), to_json(members)})));
}

}  // namespace
}  // namespace scenario
