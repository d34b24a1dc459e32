#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "lsp/published_diagnostics.h"
#include "lsp/source_pairs.h"
#include "model/run_files.h"
#include "model/windows1252.h"
#include "sources/builtin_sources.h"
#include "sources/line_table.h"

namespace scenario::bench {
namespace {

// What the language server does after a keystroke in the built-in train
// source, both sources open in the editor: the changed text taken from
// UTF-8, the pair read and checked as check does, and the diagnostics of
// both made ready to publish.
void BM_LanguageServerRecheckBuiltIn(benchmark::State& state) {
  const RunFiles files = run_files("/scenario-benchmark", kBuiltInScenario, kBuiltInTrain);
  const lsp::ScenarioPair pair{std::string(kBuiltInScenario), std::string(kBuiltInTrain), files.line_source,
                               files.train_source};
  const lsp::EditorText line = lsp::EditorText::from_utf8(windows1252_to_utf8(table_text(line_source_table())));
  const std::string typed = windows1252_to_utf8(table_text(train_source_table()));
  size_t published = 0;
  for (auto _ : state) {
    const lsp::EditorText train = lsp::EditorText::from_utf8(typed);
    const std::vector<lsp::OpenBuffer> open = {{files.line_source, &line}, {files.train_source, &train}};
    const lsp::PairReading reading = lsp::read_pair(pair, open);
    published = lsp::published_diagnostics(reading).size();
    benchmark::DoNotOptimize(published);
  }
  if (published != 2) state.SkipWithError("the pair was not published for both sources");
}
BENCHMARK(BM_LanguageServerRecheckBuiltIn)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
