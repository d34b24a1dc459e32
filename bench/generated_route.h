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

// The same with a train source of one's own beside the generated line source.
void write_generated_route(const std::filesystem::path& dir, int kilometres, std::string_view train_source);

// A train source of at most the given size that reads without an error or a
// warning on a generated route of the given length: the general rows and
// stations of generated_train_source, and a speed limit on every 50 m of
// the route, each record followed on its line by a comment long enough to
// bring the source to its size.
std::string commented_train_source(int kilometres, size_t bytes);

// Train sources in which every record gives the reading a diagnostic: per
// byte of source, the most work and the most memory an author can ask of
// scenario check. Each is its "[generale]" heading and then records up to at
// most the given size.
enum class Mistakes {
  // "sabbia" alone on every line: a sand record without its number, refused
  // as cut short, after which the reading resumes on the next line. The
  // shortest such record (8 bytes a line), so the most refusals per byte.
  kRecordsCutShort,
  // A signal record without its last number on every line, as an author
  // who forgot a column leaves them: fewer, longer records cut short.
  kSignalsCutShort,
  // "velocita, 0, 120" over and over on one line: a speed limit not past the
  // previous one, warned of, and the reading goes on in the same line.
  kWarningsOnOneLine,
  // "sabbia, 40000" over and over on one line: a sand value too wide for its
  // field. A recovering reading skips the rest of the line after a refused
  // record, so only the first is listed.
  kErrorsOnOneLine,
};
std::string faulty_train_source(Mistakes mistakes, size_t bytes);

// A line-source-like text of at least the given size made of the three record
// shapes the readers meet most: a keyword with two numbers, a keyword with
// nine numbers, and a keyword with a number and a quoted text.
std::string generated_field_stream(size_t bytes);

}  // namespace scenario::bench
