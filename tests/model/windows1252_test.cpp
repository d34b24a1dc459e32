#include "model/windows1252.h"

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

TEST(Windows1252Lower, LowersEveryCapitalOfTheCodePageAndNothingElse) {
  const struct {
    std::string text;
    std::string lower;
  } cases[] = {
      {"Dorvallo_BRISENTE 47302[]@", "dorvallo_brisente 47302[]@"},  // '@' and '[' border the capitals
      {"CITT\xC0 \xC8\xDE", "citt\xE0 \xE8\xFE"},                    // accented capitals
      {"\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"},                      // the code page's own block
      {"\xD7\xDF\xE0\xFF\xB0", "\xD7\xDF\xE0\xFF\xB0"},              // signs, sharp s, small letters
  };
  for (const auto& c : cases) EXPECT_EQ(windows1252_lower(c.text), c.lower) << c.text;
}

TEST(AsciiLower, LowersOnlyTheAsciiLetters) {
  EXPECT_EQ(ascii_lower("[GENERALE] X_LINEA.DAT"), "[generale] x_linea.dat");
  EXPECT_EQ(ascii_lower("\xC0\x8A@[Z"), "\xC0\x8A@[z");
}

// The way back is exact: every byte of the code page returns from its
// character, alone and among others.
TEST(Utf8ToWindows1252, EveryByteReturnsFromItsCharacter) {
  std::string every_byte;
  for (int byte = 0; byte < 256; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    EXPECT_EQ(utf8_to_windows1252(windows1252_to_utf8(one)), one) << byte;
    every_byte += one;
  }
  EXPECT_EQ(utf8_to_windows1252(windows1252_to_utf8(every_byte)), every_byte);
}

TEST(Utf8ToWindows1252, RefusesWhatIsNotUtf8OrNotInTheCodePage) {
  const char* const refused[] = {
      "\xE8",              // a Latin-1 byte, not UTF-8
      "\xC3",              // cut short
      "\xE2\x82",          // cut short
      "\xC0\xAF",          // overlong '/'
      "\xE0\x80\xAF",      // overlong '/'
      "\xED\xA0\x80",      // a surrogate
      "\xF0\x9F\x9A\x82",  // a locomotive, past U+FFFF
      "\u4E2D",            // a character the code page lacks
      "\u0080",            // a control the code page gives a sign to
      "Citt\u00E0 \u0101",
  };
  for (const char* text : refused) EXPECT_EQ(utf8_to_windows1252(text), std::nullopt) << text;
}

// Names and paths reach a terminal as a source line's echo does: their
// characters kept, every control and every byte outside UTF-8 escaped.
TEST(PrintableText, KeepsCharactersAndEscapesControls) {
  const std::pair<const char*, const char*> cases[] = {
      {"routes/Citt\u00E0_1.dat", "routes/Citt\u00E0_1.dat"},
      {"a\x1b]0;TITLE\x07" "b", "a\\x1b]0;TITLE\\x07b"},
      {"tab\there", "tab\there"},
      {"line\nbreak\x7f", "line\\x0abreak\\x7f"},
      {"\u009B2J", "\\x9b2J"},                            // a C1 control in UTF-8
      {"Latin-1 \xE8 byte", "Latin-1 \\xe8 byte"},          // not UTF-8
      {"\xF0\x9F\x9A\x82 loco", "\xF0\x9F\x9A\x82 loco"},  // past U+FFFF, kept whole
      {"cut \xF0\x9F\x9A", "cut \\xf0\\x9f\\x9a"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(printable_text(text), shown) << text;
}

}  // namespace
}  // namespace scenario
