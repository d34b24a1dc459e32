#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace scenario::testing {

// The inputs the reading's fuzz target keeps, in a fixed order.
inline std::vector<std::filesystem::path> corpus_inputs(const std::filesystem::path& dir) {
  std::vector<std::filesystem::path> inputs;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) inputs.push_back(entry.path());
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

// The line source and the train source of one of them: a flags byte, the
// line source's length in 4 bytes little-endian (cut to what follows), the
// line source, the train source.
inline std::pair<std::string, std::string> corpus_sources(const std::string& bytes) {
  constexpr size_t kHeader = 5;
  if (bytes.size() < kHeader) return {};
  size_t length = 0;
  for (size_t i = 0; i < 4; ++i) length |= size_t{static_cast<uint8_t>(bytes[1 + i])} << (8 * i);
  const std::string sources = bytes.substr(kHeader);
  std::string line = sources.substr(0, std::min(length, sources.size()));
  std::string train = sources.substr(line.size());
  return {std::move(line), std::move(train)};
}

}  // namespace scenario::testing
