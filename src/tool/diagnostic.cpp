#include "tool/diagnostic.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "model/windows1252.h"

namespace scenario::tool {
namespace {

// The echo keeps about this many columns, and this many of them before the
// caret when it has to cut.
constexpr size_t kEchoWidth = 160;
constexpr size_t kEchoLead = 60;
// A message's own text is cut here: a last guard, since quoted values are
// already short.
constexpr size_t kLongestDetail = 400;
constexpr std::string_view kCutMark = "...";

// The escape sequences gcc colours its diagnostics with; none in plain text.
struct Palette {
  std::string_view locus;
  std::string_view error;
  std::string_view warning;
  std::string_view note;
  std::string_view caret;
  std::string_view reset;
};
constexpr Palette kPlain{};
constexpr Palette kGccColours{"\x1b[01m", "\x1b[01;31m", "\x1b[01;35m", "\x1b[01;36m", "\x1b[01;32m", "\x1b[m"};

std::string painted(const std::string& text, std::string_view colour, const Palette& palette) {
  if (colour.empty()) return text;
  return std::string(colour) + text + std::string(palette.reset);
}

// One byte of the source line as shown.
std::string glyph(char byte) { return printable_utf8(std::string_view(&byte, 1)); }

// An escape takes as many columns as it has bytes; a converted letter one.
size_t width_of(char byte) {
  const std::string shown = glyph(byte);
  return shown.starts_with("\\x") ? shown.size() : 1;
}

struct Window {
  size_t begin = 0;
  size_t end = 0;
};

// The bytes shown: all of them when they fit, else a stretch of about
// kEchoWidth columns that holds the caret.
Window window_around(std::string_view line, size_t caret) {
  Window window{caret, caret};
  size_t width = 0;
  while (window.begin > 0 && width + width_of(line[window.begin - 1]) <= kEchoLead) {
    width += width_of(line[--window.begin]);
  }
  while (window.end < line.size() && width + width_of(line[window.end]) <= kEchoWidth) {
    width += width_of(line[window.end++]);
  }
  while (window.begin > 0 && width + width_of(line[window.begin - 1]) <= kEchoWidth) {
    width += width_of(line[--window.begin]);
  }
  return window;
}

// The echoed line and, when a column is known, the caret line under it.
// Tabs before the caret stay tabs, so that it lines up whatever their width.
// The excerpt holds more of the line on both sides than the echo shows.
std::string echo(const LineExcerpt& excerpt, int column, const Palette& palette) {
  const std::string_view source_line = excerpt.text;
  const int from_excerpt = column - excerpt.first_column;
  const size_t caret = column > 0 && from_excerpt > 0 ? std::min(static_cast<size_t>(from_excerpt), source_line.size()) : 0;
  const Window window = window_around(source_line, caret);
  const bool cut_before = window.begin > 0 || excerpt.first_column > 1;
  std::string line(cut_before ? kCutMark : "");
  std::string under(cut_before ? kCutMark.size() : 0, ' ');
  for (size_t i = window.begin; i < window.end; ++i) {
    line += glyph(source_line[i]);
    if (i < caret) under += source_line[i] == '\t' ? std::string(1, '\t') : std::string(width_of(source_line[i]), ' ');
  }
  if (window.end < source_line.size() || excerpt.cut_after) line += kCutMark;
  std::string text = line + "\n";
  if (column > 0) text += under + painted("^", palette.caret, palette) + "\n";
  return text;
}

// Cut on a character boundary of the UTF-8 text.
std::string bounded(const std::string& detail) {
  if (detail.size() <= kLongestDetail) return detail;
  size_t end = kLongestDetail;
  while (end > 0 && (static_cast<unsigned char>(detail[end]) & 0xC0) == 0x80) --end;
  return detail.substr(0, end) + std::string(kCutMark);
}

std::string place(const ErrorSite& site, const std::string& dir) {
  std::string text = source_path(site.file, dir);
  if (site.line > 0) text += ":" + std::to_string(site.line);
  if (site.line > 0 && site.column > 0) text += ":" + std::to_string(site.column);
  return text.empty() ? text : text + ":";
}

// What a diagnostic is, as gcc says it, and the colour of the word.
struct Kind {
  std::string_view word;
  std::string_view Palette::*colour;
};

constexpr Kind kError{"error", &Palette::error};
constexpr Kind kWarning{"warning", &Palette::warning};
constexpr Kind kNote{"note", &Palette::note};

// "PATH:LINE:COL: KIND: what [TAG]", then the source line and the caret. A
// note about the other source comes without its line, which the reading no
// longer holds.
std::string message(const ErrorSite& site, const std::string& dir, const Kind& kind, const std::string& tag,
                    const Palette& palette) {
  const std::string locus = place(site, dir);
  const std::string_view colour = palette.*kind.colour;
  std::string text = locus.empty() ? "" : painted(locus, palette.locus, palette) + " ";
  text += painted(std::string(kind.word) + ":", colour, palette) + " " + bounded(printable_text(site.detail));
  if (!tag.empty()) text += " [" + painted(tag, colour, palette) + "]";
  text += "\n";
  const bool line_unknown = &kind == &kNote && site.excerpt.text.empty();
  if (site.line > 0 && !line_unknown) text += echo(site.excerpt, site.column, palette);
  return text;
}

// An error is tagged with its number, a warning with its name.
std::string tag_of(const Diagnostic& diagnostic) {
  if (diagnostic.severity == Severity::kWarning) return diagnostic.name;
  return diagnostic.code == 0 ? std::string() : "E" + std::to_string(diagnostic.code);
}

}  // namespace

std::string source_path(const std::string& file, const std::string& dir) {
  if (dir.empty() || file.empty()) return printable_text(file);
  return printable_text((std::filesystem::path(dir) / file).string());
}

std::string command_message(std::string_view command, std::string_view message) {
  const std::string who = command.empty() ? "scenario" : "scenario " + std::string(command);
  return who + ": " + printable_text(message) + "\n";
}

std::string format_diagnostic(const Diagnostic& diagnostic, const std::string& dir, bool colour) {
  const Palette& palette = colour ? kGccColours : kPlain;
  const Kind& kind = diagnostic.severity == Severity::kWarning ? kWarning : kError;
  std::string text = message(diagnostic.site, dir, kind, tag_of(diagnostic), palette);
  for (const ErrorSite& note : diagnostic.notes) text += message(note, dir, kNote, {}, palette);
  return text;
}

}  // namespace scenario::tool
