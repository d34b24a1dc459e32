// Writes the seed corpora of the fuzz targets from the built-in sources:
// make_seeds DIR gives DIR/field_reader and DIR/memorizza_dati.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "sources/builtin_sources.h"
#include "sources/line_table.h"

namespace {

// The field reader's input ends with the 8 bytes of its read plan: zero bytes
// read text only, 0x44 bytes alternate a text read and a number read.
constexpr char kAllText[8] = {};
const std::string kMixedPlan(8, '\x44');

void write(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_seeds DIR\n";
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  const std::string line = scenario::table_text(scenario::line_source_table());
  const std::string train = scenario::table_text(scenario::train_source_table());
  std::filesystem::create_directories(dir / "field_reader");
  std::filesystem::create_directories(dir / "memorizza_dati");
  write(dir / "field_reader" / "line_text", line + std::string(kAllText, sizeof kAllText));
  write(dir / "field_reader" / "train_text", train + std::string(kAllText, sizeof kAllText));
  write(dir / "field_reader" / "line_mixed", line + kMixedPlan);
  write(dir / "field_reader" / "train_mixed", train + kMixedPlan);
  // The last byte's low bit asks for the plan trace.
  write(dir / "memorizza_dati" / "builtin_with_trace", line + '\0' + train + '\x01');
  write(dir / "memorizza_dati" / "builtin_without_trace", line + '\0' + train + '\x00');
  return 0;
}
