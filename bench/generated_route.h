#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace scenario::bench {

// A line source and a train source for a route of the given length in whole
// kilometres (1 to 990): every kilometre carries two curves, a gradient record
// and a signal, every ten kilometres a speed-limit board and a line speed, and
// the two ends a station each. The work of compiling them grows with the
// length alone.
std::string generated_line_source(int kilometres);
std::string generated_train_source(int kilometres);

// The names a generated route is compiled under.
inline constexpr std::string_view kGeneratedScenario = "Generata";
inline constexpr std::string_view kGeneratedTrain = "1";

// Writes both sources of a generated route into dir, under the names above,
// for a compilation in a fresh process (`scenario compile --dir DIR Generata
// 1`), whose peak memory the in-memory benchmarks cannot show.
void write_generated_route(const std::filesystem::path& dir, int kilometres);

// A line-source-like text of at least the given size made of the three record
// shapes the readers meet most: a keyword with two numbers, a keyword with
// nine numbers, and a keyword with a number and a quoted text.
std::string generated_field_stream(size_t bytes);

}  // namespace scenario::bench
