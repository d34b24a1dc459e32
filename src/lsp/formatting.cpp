#include "lsp/formatting.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "lsp/field_extent.h"
#include "lsp/record_lines.h"
#include "model/windows1252.h"

namespace scenario::lsp {
namespace {

using nlohmann::json;

// A record line cut at its commas, each cell without the blanks around it.
struct Row {
  int line = 0;
  std::vector<std::string> cells;
};

std::string trimmed(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

Row row_of(int line, std::string_view bytes) {
  Row row{line, {}};
  for (size_t start = 0;;) {
    const size_t comma = bytes.find(',', start);
    row.cells.push_back(trimmed(bytes.substr(start, comma - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return row;
}

bool is_number_cell(const std::string& cell) {
  return !cell.empty() && (cell[0] == '-' || std::isdigit(static_cast<unsigned char>(cell[0])) != 0);
}

// The rows of one kind of record, aligned column by column: a number ends
// where the widest of its column ends, any other cell follows one blank.
std::vector<std::string> aligned(const std::vector<Row>& rows) {
  std::vector<std::string> lines;
  size_t columns = 0;
  for (const Row& row : rows) {
    lines.push_back(row.cells[0]);
    columns = std::max(columns, row.cells.size());
  }
  for (size_t column = 1; column < columns; ++column) {
    size_t end = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
      if (column < rows[i].cells.size()) end = std::max(end, lines[i].size() + 2 + rows[i].cells[column].size());
    }
    for (size_t i = 0; i < rows.size(); ++i) {
      if (column >= rows[i].cells.size()) continue;
      const std::string& cell = rows[i].cells[column];
      lines[i] += ",";
      if (cell.empty()) continue;
      const size_t pad = is_number_cell(cell) ? end - lines[i].size() - cell.size() : 1;
      lines[i] += std::string(pad, ' ') + cell;
    }
  }
  return lines;
}

bool formattable(const EditorText& text, int line) {
  return text.line(line).find('"') == std::string_view::npos && !text.line_has_replacement(line);
}

json edit(const EditorText& text, int line, const std::string& new_text) {
  const Position end = text.position(line, text.line(line).size());
  return {{"range", {{"start", {{"line", line}, {"character", 0}}}, {"end", {{"line", end.line}, {"character", end.character}}}}},
          {"newText", windows1252_to_utf8(new_text)}};
}

}  // namespace

nlohmann::json formatting_edits(const EditorText& text, SourceFile source) {
  json edits = json::array();
  // The rows of each kind of record in the section being read.
  std::map<const SchemaRecord*, std::vector<Row>> kinds;
  const auto flush = [&] {
    for (const auto& [record, rows] : kinds) {
      const std::vector<std::string> lines = aligned(rows);
      for (size_t i = 0; i < rows.size(); ++i) {
        if (lines[i] != text.line(rows[i].line)) edits.push_back(edit(text, rows[i].line, lines[i]));
      }
    }
    kinds.clear();
  };
  for (int line = 0; line < text.line_count(); ++line) {
    if (is_heading(text.line(line))) flush();
    const RecordLine found = record_line(text.line(line), source);
    if (found.record != nullptr && formattable(text, line)) kinds[found.record].push_back(row_of(line, text.line(line)));
  }
  flush();
  return edits;
}

}  // namespace scenario::lsp
