#include "reader/field_reader.h"

#ifdef __x86_64__
#include <immintrin.h>
#endif

#include <algorithm>
#include <array>
#include <bit>
#include <limits>

#include "model/run_failure.h"
#include "model/windows1252.h"

namespace scenario {
namespace {

constexpr char kQuote = '"';
constexpr char kComma = ',';
// Longer digit runs stop accumulating here; they are out of range anyway and
// the value can no longer overflow.
constexpr int64_t kDigitCap = int64_t{1} << 40;

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_line_end(char c) { return c == '\r' || c == '\n'; }
bool ends_field(char c) { return c == kComma || is_line_end(c); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void fail(const std::string& what) { throw RunFailure(what); }

// A set of bytes as a table, so that a scan tests each byte with one load.
struct ByteSet {
  std::array<bool, 256> holds{};
  constexpr explicit ByteSet(std::string_view bytes) {
    for (const char c : bytes) holds[static_cast<unsigned char>(c)] = true;
  }
};
constexpr ByteSet kFieldEnds(",\r\n");
constexpr ByteSet kLineEnds("\r\n");

// The offset of the first byte at or after from that stop holds, or size.
size_t find_from(std::string_view text, size_t from, const ByteSet& stop) {
  const char* const bytes = text.data();
  const size_t size = text.size();
  while (from < size && !stop.holds[static_cast<unsigned char>(bytes[from])]) ++from;
  return from;
}

// The offset just after the line end at offset at.
size_t after_line_end(std::string_view text, size_t at) {
  return at + (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1);
}

}  // namespace

#ifdef __x86_64__
namespace {

// Sixteen bytes at a time: a comma, CR or LF in a block shows as a bit of its
// mask.
size_t field_end_sse2(std::string_view text, size_t from) {
  constexpr size_t kBlock = sizeof(__m128i);
  const __m128i comma = _mm_set1_epi8(kComma);
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; from + kBlock <= text.size(); from += kBlock) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + from));
    const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(block, comma),
                                      _mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)));
    const auto mask = static_cast<unsigned>(_mm_movemask_epi8(ends));
    if (mask != 0) return from + static_cast<size_t>(std::countr_zero(mask));
  }
  return find_from(text, from, kFieldEnds);
}

// The same 32 bytes at a time, on a processor that has AVX2: half the steps
// over a long comment.
__attribute__((target("avx2"))) size_t field_end_avx2(std::string_view text, size_t from) {
  constexpr size_t kBlock = sizeof(__m256i);
  const __m256i comma = _mm256_set1_epi8(kComma);
  const __m256i cr = _mm256_set1_epi8('\r');
  const __m256i lf = _mm256_set1_epi8('\n');
  for (; from + kBlock <= text.size(); from += kBlock) {
    const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text.data() + from));
    const __m256i ends = _mm256_or_si256(_mm256_cmpeq_epi8(block, comma),
                                         _mm256_or_si256(_mm256_cmpeq_epi8(block, cr), _mm256_cmpeq_epi8(block, lf)));
    const auto mask = static_cast<unsigned>(_mm256_movemask_epi8(ends));
    if (mask != 0) return from + static_cast<size_t>(std::countr_zero(mask));
  }
  return field_end_sse2(text, from);
}

bool processor_has_avx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}
const bool kHasAvx2 = processor_has_avx2();

}  // namespace

size_t field_end(std::string_view text, size_t from) {
  return kHasAvx2 ? field_end_avx2(text, from) : field_end_sse2(text, from);
}
#else
size_t field_end(std::string_view text, size_t from) { return find_from(text, from, kFieldEnds); }
#endif

FieldReader::FieldReader(std::string_view text, std::string file_name)
    : text_(text), file_name_(std::move(file_name)) {}

void FieldReader::skip_blanks() {
  while (pos_ < text_.size() && is_blank(text_[pos_])) ++pos_;
}

void FieldReader::mark_field_start() {
  field_line_ = line_;
  field_offset_ = pos_;
  field_column_ = narrow<int>(static_cast<int64_t>(pos_ - line_start_) + 1);
  field_opens_line_ = !content_on_line_;
  content_on_line_ = true;
}

void FieldReader::consume_line_end() {
  pos_ = after_line_end(text_, pos_);
  ++line_;
  line_start_ = pos_;
  content_on_line_ = false;
}

void FieldReader::consume_separator() {
  if (pos_ >= text_.size()) return;
  if (text_[pos_] == kComma) {
    ++pos_;
  } else if (is_line_end(text_[pos_])) {
    consume_line_end();
  }
}

std::string_view FieldReader::read_text() {
  if (at_end()) {
    mark_field_start();
    fail("read past the end of the file");
  }
  skip_blanks();
  mark_field_start();
  const size_t size = text_.size();
  if (pos_ < size && text_[pos_] == kQuote) {
    const size_t open = ++pos_;
    while (pos_ < size && text_[pos_] != kQuote) {
      if (is_line_end(text_[pos_])) {
        consume_line_end();
      } else {
        ++pos_;
      }
    }
    if (pos_ >= size) fail("a quoted field is never closed");
    content_on_line_ = true;  // the closing quote
    const size_t close = pos_;
    pos_ = field_end(text_, close + 1);
    consume_separator();
    ++fields_read_;
    const std::string_view field = text_.substr(open, close - open);
    keep(field);
    return field;
  }
  const size_t start = pos_;
  pos_ = field_end_from(start);
  size_t end = pos_;
  while (end > start && is_blank(text_[end - 1])) --end;
  consume_separator();
  ++fields_read_;
  const std::string_view field = text_.substr(start, end - start);
  keep(field);
  return field;
}

int32_t FieldReader::read_number() {
  if (!at_end()) skip_blanks();
  mark_field_start();
  if (at_end()) fail("read past the end of the file");
  const size_t size = text_.size();
  const size_t start = pos_;
  const bool negative = text_[pos_] == '-';
  if (negative) ++pos_;
  int64_t value = 0;
  const size_t first_digit = pos_;
  for (; pos_ < size && is_digit(text_[pos_]); ++pos_) {
    if (value < kDigitCap) value = value * 10 + (text_[pos_] - '0');
  }
  const bool complete = pos_ >= size || is_blank(text_[pos_]) || ends_field(text_[pos_]);
  if (pos_ == first_digit || !complete) {
    const size_t end = field_end(text_, start);
    const std::string_view field = text_.substr(start, end - start);
    fail(field.empty() ? "expected a number, found an empty field" : "expected a number, found " + quoted(field));
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
    fail("number " + quoted(text_.substr(start, pos_ - start)) + " does not fit 32 bits");
  }
  const size_t digits_end = pos_;
  skip_blanks();
  consume_separator();
  ++fields_read_;
  keep(text_.substr(start, digits_end - start));
  return static_cast<int32_t>(value);
}

FieldSite FieldReader::on_line_of(FieldSite site, int column) {
  const size_t line_start = line_start_of(site);
  return {site.line, column, line_start + static_cast<size_t>(column - 1)};
}

LineExcerpt FieldReader::excerpt(FieldSite site) const {
  if (site.line < 1 || site.column < 1) return {};
  const size_t line_start = line_start_of(site);
  const size_t at = std::min(site.offset, text_.size());
  const size_t begin = std::max(line_start, at - std::min(at, kExcerptReach));
  size_t end = at;
  while (end < text_.size() && end - at < kExcerptReach && !is_line_end(text_[end])) ++end;
  const bool cut_after = end < text_.size() && !is_line_end(text_[end]);
  return {std::string(text_.substr(begin, end - begin)), narrow<int>(static_cast<int64_t>(begin - line_start) + 1),
          cut_after};
}

int FieldReader::content_end_column(FieldSite site) const {
  const size_t line_start = line_start_of(site);
  const size_t line_end = find_from(text_, std::min(site.offset, text_.size()), kLineEnds);
  size_t end = line_end;
  while (end > site.offset && (is_blank(text_[end - 1]) || text_[end - 1] == kComma)) --end;
  return narrow<int>(static_cast<int64_t>(end - line_start) + 1);
}

void FieldReader::restart_at_line_of(FieldSite site) {
  pos_ = line_start_of(site);
  line_ = site.line;
  line_start_ = pos_;
  content_on_line_ = false;
}

size_t FieldReader::field_end_from(size_t start) const {
  if (start != end_asked_from_) {
    end_found_ = field_end(text_, start);
    end_asked_from_ = start;
  }
  return end_found_;
}

FieldSite FieldReader::here() const {
  return {line_, narrow<int>(static_cast<int64_t>(pos_ - line_start_) + 1), pos_};
}

void FieldReader::skip_rest_of_line() {
  pos_ = find_from(text_, pos_, kLineEnds);
  if (pos_ < text_.size()) consume_line_end();
}

}  // namespace scenario
