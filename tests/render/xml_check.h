#pragma once

#include <algorithm>
#include <cctype>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::testing {

// The root element of a well-formed XML document: its name and attributes.
struct XmlRoot {
  std::string name;
  std::map<std::string, std::string> attributes;
};

// A small well-formedness check, enough for the SVG that cairo writes:
// declaration, comments, nested elements with quoted attributes, character
// data with entity references, exactly one root. Throws std::runtime_error
// with the offset of the first fault.
class XmlCheck {
 public:
  static XmlRoot root_of(std::string_view text) { return XmlCheck(text).document(); }

 private:
  explicit XmlCheck(std::string_view text) : text_(text) {}

  [[noreturn]] void fail(const std::string& what) const {
    throw std::runtime_error("XML fault at " + std::to_string(at_) + ": " + what);
  }
  bool starts(std::string_view s) const { return text_.substr(at_).starts_with(s); }
  void expect(std::string_view s) {
    if (!starts(s)) fail("expected " + std::string(s));
    at_ += s.size();
  }
  void skip_space() {
    while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
  }
  void skip_past(std::string_view end) {
    const size_t found = text_.find(end, at_);
    if (found == std::string_view::npos) fail("unterminated, expected " + std::string(end));
    at_ = found + end.size();
  }
  std::string name() {
    const size_t start = at_;
    while (at_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[at_])) ||
                                  std::string_view(":_-.").find(text_[at_]) != std::string_view::npos))
      ++at_;
    if (at_ == start) fail("expected a name");
    return std::string(text_.substr(start, at_ - start));
  }
  void reference() {
    expect("&");
    const size_t end = text_.find(';', at_);
    if (end == std::string_view::npos || end - at_ > 10) fail("bad entity reference");
    const std::string_view ref = text_.substr(at_, end - at_);
    static const std::vector<std::string_view> kNamed = {"amp", "lt", "gt", "quot", "apos"};
    const bool known = ref.starts_with('#') || std::find(kNamed.begin(), kNamed.end(), ref) != kNamed.end();
    if (!known) fail("unknown entity " + std::string(ref));
    at_ = end + 1;
  }
  std::string attribute_value() {
    if (at_ >= text_.size() || (text_[at_] != '"' && text_[at_] != '\'')) fail("unquoted attribute");
    const char quote = text_[at_++];
    const size_t start = at_;
    while (at_ < text_.size() && text_[at_] != quote) {
      if (text_[at_] == '<') fail("< in an attribute");
      if (text_[at_] == '&') {
        reference();
      } else {
        ++at_;
      }
    }
    if (at_ >= text_.size()) fail("unterminated attribute");
    return std::string(text_.substr(start, at_++ - start));
  }
  void misc() {
    for (skip_space(); starts("<!--") || starts("<?"); skip_space()) skip_past(starts("<?") ? "?>" : "-->");
  }
  XmlRoot element() {
    expect("<");
    XmlRoot el{name(), {}};
    for (;;) {
      skip_space();
      if (starts("/>")) {
        at_ += 2;
        return el;
      }
      if (starts(">")) break;
      const std::string key = name();
      skip_space();
      expect("=");
      skip_space();
      if (!el.attributes.emplace(key, attribute_value()).second) fail("repeated attribute " + key);
    }
    ++at_;
    content();
    expect("</");
    if (name() != el.name) fail("end tag does not match <" + el.name + ">");
    skip_space();
    expect(">");
    return el;
  }
  void content() {
    while (at_ < text_.size() && !starts("</")) {
      if (starts("<!--")) {
        skip_past("-->");
      } else if (starts("<![CDATA[")) {
        skip_past("]]>");
      } else if (starts("<")) {
        element();
      } else if (starts("&")) {
        reference();
      } else {
        ++at_;
      }
    }
  }
  XmlRoot document() {
    misc();
    XmlRoot root = element();
    misc();
    if (at_ != text_.size()) fail("content after the root element");
    return root;
  }

  std::string_view text_;
  size_t at_ = 0;
};

}  // namespace scenario::testing
