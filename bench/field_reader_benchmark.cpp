#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "bench/generated_route.h"
#include "reader/field_reader.h"

namespace scenario::bench {
namespace {

constexpr size_t kStreamBytes = size_t{16} << 20;
constexpr int kSlopeNumbers = 2;
constexpr int kBoardNumbers = 9;

// Reads a whole generated source the way the readers do: a keyword as text,
// then the numbers (and the quoted text) its record carries.
void BM_FieldReaderThroughput(benchmark::State& state) {
  const std::string text = generated_field_stream(kStreamBytes);
  int64_t sum = 0;
  for (auto _ : state) {
    FieldReader reader(text);
    while (!reader.at_end()) {
      const std::string_view keyword = reader.read_text();
      switch (keyword.front()) {
        case 'p':
          for (int i = 0; i < kSlopeNumbers; ++i) sum += reader.read_number();
          break;
        case 'i':
          for (int i = 0; i < kBoardNumbers; ++i) sum += reader.read_number();
          break;
        default:
          sum += reader.read_number();
          sum += static_cast<int64_t>(reader.read_text().size());
      }
    }
  }
  benchmark::DoNotOptimize(sum);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_FieldReaderThroughput)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
