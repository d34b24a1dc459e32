#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// The texts of the sources and of the binary files are Windows-1252 bytes,
// held in std::string as they are. Everything that reads them as characters
// is here, whatever the locale of the machine.

// Only the ASCII letters lowered: for keywords of the sources and endings of
// file names, which are ASCII whatever the bytes around them.
std::string ascii_lower(std::string_view text);

// Every capital of the code page lowered, the accented ones and the four of
// its own block (S and Z caron, OE, Y diaeresis) too: names that must not
// depend on letter case.
std::string windows1252_lower(std::string_view text);

// JSON and cairo want UTF-8. Every byte converts: the five bytes the code page
// leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control
// characters of the same number, as Windows itself converts them, so that no
// text is refused and none is silently altered.
std::string windows1252_to_utf8(std::string_view text);

// For a terminal: as windows1252_to_utf8, but every control byte but the tab
// (and the five unassigned bytes, which convert to controls) is shown as
// \x1b, so that no text of a source can move the cursor or change colours.
std::string printable_utf8(std::string_view text);

// The same for text already in UTF-8 (a path, a name typed on the command
// line, a message that holds them): its characters kept, every control
// character shown as printable_utf8 shows it, and a byte that is not part
// of a UTF-8 character shown as \xff.
std::string printable_text(std::string_view utf8);

// A value of a source quoted in a message: printable, in double quotes, and
// cut after a few dozen bytes, however long the field.
std::string quoted(std::string_view text);

// The other way, for names typed in UTF-8 that the files store: nothing when
// the text is not UTF-8 or holds a character the code page lacks. The five
// control characters above convert back to their bytes.
std::optional<std::string> utf8_to_windows1252(std::string_view text);

}  // namespace scenario
