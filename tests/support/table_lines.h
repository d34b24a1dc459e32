#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sources/line_table.h"

namespace scenario::testing {

// Test-only reading of a line table as its file reads: the lines up to the
// end marker, the rows under one heading or with one keyword, and the numbers
// of a row after its keyword.
inline std::vector<std::string> lines_of(LineTable table) {
  std::vector<std::string> lines;
  for (const std::string_view line : table) {
    if (line == kEndMarker) break;
    lines.emplace_back(line);
  }
  return lines;
}

inline bool is_heading(const std::string& line) { return line.starts_with("["); }

// The rows under a heading, up to the next one; a missing heading fails the test.
inline std::vector<std::string> section(LineTable table, std::string_view heading) {
  const std::vector<std::string> lines = lines_of(table);
  const auto row = std::find(lines.begin(), lines.end(), heading);
  EXPECT_NE(row, lines.end()) << heading;
  if (row == lines.end()) return {};
  return {row + 1, std::find_if(row + 1, lines.end(), is_heading)};
}

// Whether the row stands under the heading, spaces and all.
inline bool has_row(LineTable table, std::string_view heading, const std::string& row) {
  const std::vector<std::string> rows = section(table, heading);
  return std::find(rows.begin(), rows.end(), row) != rows.end();
}

// Every heading after the comment line, in order, with the number of rows under it.
inline std::vector<std::pair<std::string, size_t>> section_sizes(LineTable table) {
  const std::vector<std::string> lines = lines_of(table);
  std::vector<std::pair<std::string, size_t>> found;
  for (size_t i = 1; i < lines.size(); ++i) {
    if (is_heading(lines[i]))
      found.emplace_back(lines[i], 0);
    else if (!found.empty())
      ++found.back().second;
  }
  return found;
}

// The rows that start with a keyword, wherever they stand.
inline std::vector<std::string> rows_with(LineTable table, std::string_view keyword) {
  std::vector<std::string> rows = lines_of(table);
  std::erase_if(rows, [&](const std::string& row) { return !row.starts_with(keyword); });
  return rows;
}

// The numbers after the keyword, up to the first field that is not one.
inline std::vector<int> numbers(const std::string& row) {
  std::vector<int> values;
  std::istringstream fields(row.substr(row.find(',') + 1));
  for (std::string field; std::getline(fields, field, ',');) {
    std::istringstream number(field);
    int value = 0;
    if (!(number >> value)) break;
    values.push_back(value);
  }
  return values;
}

}  // namespace scenario::testing
