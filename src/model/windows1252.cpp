#include "model/windows1252.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace scenario {
namespace {

// Code points of bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};
constexpr unsigned char kFirstHighControl = 0x80;
constexpr unsigned char kFirstLatin1 = 0xA0;
// How much of a field a message quotes.
constexpr size_t kQuotedLength = 40;

// A capital and its small letter lie this far apart, in ASCII and in the
// accented block alike.
constexpr unsigned char kCaseDistance = 0x20;

constexpr unsigned char ascii_lower_byte(unsigned char byte) {
  return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + kCaseDistance) : byte;
}

constexpr unsigned char windows1252_lower_byte(unsigned char byte) {
  const bool latin_capital = byte >= 0xC0 && byte <= 0xDE && byte != 0xD7;  // 0xD7 is the multiplication sign
  if (latin_capital) return static_cast<unsigned char>(byte + kCaseDistance);
  switch (byte) {
    case 0x8A: return 0x9A;  // S caron
    case 0x8C: return 0x9C;  // OE
    case 0x8E: return 0x9E;  // Z caron
    case 0x9F: return 0xFF;  // Y diaeresis
    default: return ascii_lower_byte(byte);
  }
}

// A byte's lower case as a table, so that lowering a text is a load a byte.
using LowerTable = std::array<unsigned char, 256>;

constexpr LowerTable lower_table(unsigned char (*lower)(unsigned char)) {
  LowerTable table{};
  for (size_t byte = 0; byte < table.size(); ++byte) table[byte] = lower(static_cast<unsigned char>(byte));
  return table;
}

constexpr LowerTable kAsciiLower = lower_table(ascii_lower_byte);
constexpr LowerTable kWindows1252Lower = lower_table(windows1252_lower_byte);

std::string lowered(std::string_view text, const LowerTable& lower) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(lower[static_cast<unsigned char>(c)]);
  return out;
}

char32_t code_point(unsigned char byte) {
  if (byte >= kFirstHighControl && byte < kFirstLatin1) return kHighControls[byte - kFirstHighControl];
  return byte;
}

// Every code point of the code page lies below U+10000: three bytes at most.
void append_utf8(std::string& out, char32_t c) {
  const auto bits = static_cast<uint32_t>(c);
  if (bits < 0x80) {
    out += static_cast<char>(bits);
  } else if (bits < 0x800) {
    out += static_cast<char>(0xC0 | (bits >> 6));
    out += static_cast<char>(0x80 | (bits & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (bits >> 12));
    out += static_cast<char>(0x80 | ((bits >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (bits & 0x3F));
  }
}

bool is_control(char32_t c) { return (c < 0x20 && c != '\t') || (c >= 0x7F && c < kFirstLatin1); }

void append_escaped(std::string& out, unsigned char byte) {
  constexpr std::string_view kHex = "0123456789abcdef";
  out += "\\x";
  out += kHex[byte >> 4];
  out += kHex[byte & 0xF];
}

// The next character of UTF-8 text, taken off its front; nothing when the
// bytes are no shortest form of a code point below U+10000 (all the code
// page has).
std::optional<char32_t> next_code_point(std::string_view& text) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const auto continuation = [&](size_t i) { return i < text.size() && (byte(i) & 0xC0) == 0x80; };
  size_t length = 0;
  char32_t c = 0;
  if (byte(0) < 0x80) {
    length = 1;
    c = byte(0);
  } else if ((byte(0) & 0xE0) == 0xC0 && continuation(1)) {
    length = 2;
    c = (char32_t{byte(0)} & 0x1F) << 6 | (byte(1) & 0x3F);
  } else if ((byte(0) & 0xF0) == 0xE0 && continuation(1) && continuation(2)) {
    length = 3;
    c = (char32_t{byte(0)} & 0x0F) << 12 | (char32_t{byte(1)} & 0x3F) << 6 | (byte(2) & 0x3F);
  } else {
    return std::nullopt;
  }
  const bool shortest = length == 1 || (length == 2 && c >= 0x80) || (length == 3 && c >= 0x800);
  if (!shortest) return std::nullopt;
  text.remove_prefix(length);
  return c;
}

std::optional<unsigned char> code_page_byte(char32_t c) {
  if (c < kFirstHighControl || (c >= kFirstLatin1 && c <= 0xFF)) return static_cast<unsigned char>(c);
  const auto* found = std::find(kHighControls.begin(), kHighControls.end(), c);
  if (found == kHighControls.end()) return std::nullopt;
  return static_cast<unsigned char>(kFirstHighControl + (found - kHighControls.begin()));
}

// The length of a four-byte UTF-8 character (U+10000 and above) at the
// front of text, or 0 when none is there.
size_t supplementary_length(std::string_view text) {
  constexpr size_t kLength = 4;
  if (text.size() < kLength) return 0;
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const bool lead = byte(0) >= 0xF0 && byte(0) <= 0xF4;
  const bool in_range = !(byte(0) == 0xF0 && byte(1) < 0x90) && !(byte(0) == 0xF4 && byte(1) >= 0x90);
  for (size_t i = 1; i < kLength; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
  }
  return lead && in_range ? kLength : 0;
}

}  // namespace

std::string ascii_lower(std::string_view text) { return lowered(text, kAsciiLower); }

std::string windows1252_lower(std::string_view text) { return lowered(text, kWindows1252Lower); }

std::string windows1252_to_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) append_utf8(out, code_point(static_cast<unsigned char>(c)));
  return out;
}

std::string printable_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (is_control(code_point(byte))) {
      append_escaped(out, byte);
    } else {
      append_utf8(out, code_point(byte));
    }
  }
  return out;
}

std::string printable_text(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  while (!utf8.empty()) {
    const std::string_view rest = utf8;
    const std::optional<char32_t> c = next_code_point(utf8);
    if (!c) {
      // Not a character of the code page's range: each byte of it escaped
      // unless it starts a longer character, which is kept whole.
      const size_t length = supplementary_length(rest);
      if (length == 0) {
        append_escaped(out, static_cast<unsigned char>(rest.front()));
        utf8.remove_prefix(1);
      } else {
        out += rest.substr(0, length);
        utf8.remove_prefix(length);
      }
    } else if (is_control(*c)) {
      append_escaped(out, static_cast<unsigned char>(*c));
    } else {
      out += rest.substr(0, rest.size() - utf8.size());
    }
  }
  return out;
}

std::optional<std::string> utf8_to_windows1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const std::optional<char32_t> c = next_code_point(text);
    const std::optional<unsigned char> byte = c ? code_page_byte(*c) : std::nullopt;
    if (!byte) return std::nullopt;
    out += static_cast<char>(*byte);
  }
  return out;
}

std::string quoted(std::string_view text) {
  const bool cut = text.size() > kQuotedLength;
  return "\"" + printable_utf8(text.substr(0, kQuotedLength)) + (cut ? "...\"" : "\"");
}

}  // namespace scenario
