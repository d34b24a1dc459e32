#pragma once

#include <cctype>
#include <cstdio>
#include <string>
#include <string_view>

namespace scenario::testing {

// Bytes written as the hex editor shows them, "01 2A FF"; spaces only group
// the digits, so "00000000" is four bytes.
inline std::string from_hex(std::string_view hex) {
  const auto digit = [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (c | 0x20) - 'a' + 10;
  };
  std::string bytes;
  int high = -1;
  for (const char c : hex) {
    if (c == ' ') continue;
    if (high < 0) {
      high = digit(c);
    } else {
      bytes += static_cast<char>(high * 16 + digit(c));
      high = -1;
    }
  }
  return bytes;
}

// Bytes as "02 00 41 42", for messages a reader can check against a layout.
inline std::string to_hex(std::string_view bytes) {
  std::string text;
  for (const char c : bytes) {
    char byte[4];
    std::snprintf(byte, sizeof byte, "%02X ", static_cast<unsigned char>(c));
    text += byte;
  }
  if (!text.empty()) text.pop_back();
  return text;
}

}  // namespace scenario::testing
