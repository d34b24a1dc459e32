// The field reader over arbitrary bytes, driven by an arbitrary sequence of
// text and number reads. A read may refuse its field (RunFailure), nothing
// else: no other exception, no touch outside the text, no read that consumes
// nothing, and a field site that points into the line it names.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/run_failure.h"
#include "reader/field_reader.h"

namespace {

enum class Read : uint8_t { kText, kNumber, kShort, kByte };
constexpr int kBitsPerRead = 2;
constexpr int kPlanBits = 64;

void read_once(scenario::FieldReader& reader, Read kind) {
  switch (kind) {
    case Read::kText:
      reader.read_text();
      return;
    case Read::kNumber:
      reader.read_number();
      return;
    case Read::kShort:
      reader.read_number_as<int16_t>();
      return;
    case Read::kByte:
      reader.read_number_as<uint8_t>();
      return;
  }
}

// A diagnostic's caret goes under the field: its column lies within the line.
void check_site(const scenario::FieldReader& reader) {
  const scenario::FieldSite site = reader.site();
  if (site.line < 1 || site.column < 1) __builtin_trap();
  const scenario::LineExcerpt excerpt = reader.excerpt(site);
  if (site.column < excerpt.first_column) __builtin_trap();
  if (static_cast<size_t>(site.column - excerpt.first_column) > excerpt.text.size()) __builtin_trap();
  if (excerpt.text.size() > 2 * scenario::FieldReader::kExcerptReach) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  const uint64_t plan = provider.ConsumeIntegral<uint64_t>();
  const std::string text = provider.ConsumeRemainingBytesAsString();
  scenario::FieldReader reader(text, "fuzzed");
  // Every successful read consumes at least one byte.
  for (size_t reads = 0; !reader.at_end(); ++reads) {
    if (reads > text.size()) __builtin_trap();
    const int shift = static_cast<int>(reads * kBitsPerRead % kPlanBits);
    try {
      read_once(reader, static_cast<Read>((plan >> shift) & 3u));
    } catch (const scenario::RunFailure&) {
      break;
    }
  }
  // Only the last site: finding a line scans the text from its start.
  if (!text.empty()) check_site(reader);
  return 0;
}
