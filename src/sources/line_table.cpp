#include "sources/line_table.h"

#include <algorithm>
#include <stdexcept>

#include "io/replace_file.h"

namespace scenario {

std::string table_text(LineTable table) {
  const LineTable slots = table.first(std::min(table.size(), kLineTableSlots));
  std::string text;
  for (const std::string_view line : slots) {
    if (line == kEndMarker) return text;
    text.append(line);
    text.append("\r\n");
  }
  throw std::logic_error("line table without its end marker");
}

void write_table(const std::filesystem::path& path, LineTable table, Durability durability) {
  replace_file(path, table_text(table), durability);
}

}  // namespace scenario
