// The editor counts columns in UTF-16 units of its UTF-8 text; the reader in
// bytes of Windows-1252. Every character of the code page is one of each; a
// character it lacks reaches the reader as '?', and may be two UTF-16 units.

#include <gtest/gtest.h>

#include <string>

#include "lsp/editor_text.h"

namespace scenario::lsp {
namespace {

TEST(EditorText, BytesAndColumnsOfTheEditorsText) {
  const struct {
    std::string utf8;
    std::string bytes;
    size_t byte_column;  // on the last line
    int character;
  } cases[] = {
      {"sabbia, 0", "sabbia, 0", 8, 8},
      {"a\r\nb\xC2\xB0, 1", "a\r\nb\xB0, 1", 4, 4},               // the degree sign: one byte, one unit
      {"x\xE2\x82\xAC, 5", "x\x80, 5", 3, 3},                      // the euro sign: byte 0x80
      {"x\xE2\x9C\x93, 5", "x?, 5", 3, 3},                         // a check mark the code page lacks
      {"x\xF0\x9F\x9A\x86, 5", "x?, 5", 3, 4},                     // a train: two UTF-16 units
      {"a\nb\rc\r\nd\xF0\x9F\x9A\x86\xF0\x9F\x9A\x86x", "a\nb\rc\r\nd??x", 3, 5},
  };
  for (const auto& c : cases) {
    const EditorText text = EditorText::from_utf8(c.utf8);
    EXPECT_EQ(text.bytes(), c.bytes) << c.utf8;
    const int last = text.line_count() - 1;
    EXPECT_EQ(text.position(last, c.byte_column), (Position{last, c.character})) << c.utf8;
    EXPECT_EQ(text.byte_column({last, c.character}), c.byte_column) << c.utf8;
  }
}

TEST(EditorText, AReplacedCharacterIsKnownByItsLine) {
  const EditorText text = EditorText::from_utf8("a, 1\r\nb\xE2\x9C\x93, 2\r\n");
  EXPECT_TRUE(text.replaced_any());
  EXPECT_FALSE(text.line_has_replacement(0));
  EXPECT_TRUE(text.line_has_replacement(1));
  EXPECT_EQ(text.line_count(), 3);
}

}  // namespace
}  // namespace scenario::lsp
