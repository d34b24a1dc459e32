#include "inspect/windows1252.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(Windows1252ToUtf8, EveryByteBecomesItsCharacter) {
  const struct {
    std::string bytes;
    std::string utf8;
  } cases[] = {
      {"VIA II\xB0", "VIA II\u00B0"},   // the degree sign of the board texts
      {"\x80", "\u20AC"},               // euro sign, from the code page's own block
      {"\x9F", "\u0178"},
      {"\x81\x8D\x8F\x90\x9D", "\u0081\u008D\u008F\u0090\u009D"},  // unassigned: kept as controls
      {"\xE8\xFF", "\u00E8\u00FF"},     // the upper half equals Latin-1
      {std::string("A\0B", 3), std::string("A\0B", 3)},
  };
  for (const auto& c : cases) EXPECT_EQ(windows1252_to_utf8(c.bytes), c.utf8) << c.utf8;
}

}  // namespace
}  // namespace scenario
