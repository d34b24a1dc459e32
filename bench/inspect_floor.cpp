// The floor for `scenario inspect --all` of a line geometry file: the same
// numbers in the same layout, from a program that trusts the file (no check
// of a tag, a length or a double), formats with std::to_chars and writes
// through one buffer. What is left of inspect's time above this one's is
// the price of its checks and its JSON.
//
// Usage: inspect_floor FILE

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr uint16_t kEmpty = 0;
constexpr uint16_t kInt16 = 2;
constexpr size_t kOutputChunk = 1 << 16;


struct Value {
  uint16_t tag = kEmpty;
  double number = 0;
};

// The value at `at`, low byte first, and the cursor moved past it.
Value next_value(const unsigned char*& at) {
  Value value;
  std::memcpy(&value.tag, at, sizeof value.tag);
  at += sizeof value.tag;
  if (value.tag == kEmpty) return value;
  if (value.tag == kInt16) {
    int16_t integer = 0;
    std::memcpy(&integer, at, sizeof integer);
    at += sizeof integer;
    value.number = integer;
    return value;
  }
  std::memcpy(&value.number, at, sizeof value.number);
  at += sizeof value.number;
  return value;
}

// Text goes out through one buffer in writes of kOutputChunk bytes.
class Output {
 public:
  Output() : buffer_(kOutputChunk + kRoom), at_(buffer_.data()) {}
  ~Output() { flush(); }
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  void put(const char* text) {
    for (size_t length = std::strlen(text); length > 0;) {
      const size_t part = std::min(length, kRoom);
      at_ = std::copy(text, text + part, at_);
      text += part;
      length -= part;
      make_room();
    }
  }
  // A double as JSON shows it: the shortest digits, and ".0" on a whole number.
  void put(double number) {
    char* start = at_;
    at_ = std::to_chars(at_, at_ + kRoom, number).ptr;
    if (std::find_if(start, at_, [](char c) { return c == '.' || c == 'e'; }) == at_) {
      *at_++ = '.';
      *at_++ = '0';
    }
    make_room();
  }
  void put(uint64_t number) {
    at_ = std::to_chars(at_, at_ + kRoom, number).ptr;
    make_room();
  }
  void put_value(const Value& value) {
    if (value.tag == kEmpty) return put("null");
    if (value.tag == kInt16) {
      at_ = std::to_chars(at_, at_ + kRoom, static_cast<int>(value.number)).ptr;
      return make_room();
    }
    put(value.number);
  }
  void flush() {
    std::fwrite(buffer_.data(), 1, static_cast<size_t>(at_ - buffer_.data()), stdout);
    at_ = buffer_.data();
  }

 private:
  static constexpr size_t kRoom = 64;
  void make_room() {
    if (static_cast<size_t>(at_ - buffer_.data()) >= kOutputChunk) flush();
  }
  std::vector<char> buffer_;
  char* at_;
};

void put_half(Output& out, const char* name, const unsigned char* at, size_t points, bool last) {
  out.put("    \"");
  out.put(name);
  out.put("\": [");
  for (size_t m = 0; m < points; ++m) {
    out.put(m == 0 ? "\n      " : ",\n      ");
    out.put_value(next_value(at));
  }
  out.put(last ? "\n    ]\n" : "\n    ],\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  // The file is mapped, not copied.
  const int file = ::open(argv[1], O_RDONLY);
  struct stat status {};
  if (file < 0 || ::fstat(file, &status) != 0) return 1;
  const auto size = static_cast<size_t>(status.st_size);
  void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, file, 0);
  if (mapped == MAP_FAILED) return 1;
  const std::basic_string_view<unsigned char> bytes(static_cast<const unsigned char*>(mapped), size);

  // Count the values, find the middle, then walk x and y side by side.
  size_t count = 0;
  for (const unsigned char* at = bytes.data(); at < bytes.data() + bytes.size(); ++count) next_value(at);
  const size_t points = count / 2;
  const unsigned char* y_start = bytes.data();
  for (size_t i = 0; i < points; ++i) next_value(y_start);

  uint64_t empty = 0, integers = 0, doubles = 0, defined = 0;
  double min_x = 0, min_y = 0, max_x = 0, max_y = 0, length = 0, last_x = 0, last_y = 0;
  bool previous = false;
  const unsigned char* x_at = bytes.data();
  const unsigned char* y_at = y_start;
  for (size_t m = 0; m < points; ++m) {
    const Value x = next_value(x_at);
    const Value y = next_value(y_at);
    for (const Value& v : {x, y}) (v.tag == kEmpty ? empty : v.tag == kInt16 ? integers : doubles) += 1;
    const bool here = x.tag != kEmpty && y.tag != kEmpty;
    if (here) {
      if (defined == 0) min_x = max_x = x.number, min_y = max_y = y.number;
      min_x = std::min(min_x, x.number), max_x = std::max(max_x, x.number);
      min_y = std::min(min_y, y.number), max_y = std::max(max_y, y.number);
      if (previous) length += std::hypot(x.number - last_x, y.number - last_y);
      ++defined;
      last_x = x.number, last_y = y.number;
    }
    previous = here;
  }

  Output out;
  out.put("[\n  {\n    \"file\": \"");
  out.put(argv[1]);
  out.put("\",\n    \"format\": \"line_geometry\",\n    \"bytes\": ");
  out.put(static_cast<uint64_t>(bytes.size()));
  out.put(",\n    \"points\": ");
  out.put(static_cast<uint64_t>(points));
  out.put(",\n    \"values\": {\n      \"empty\": ");
  out.put(empty);
  out.put(",\n      \"int16\": ");
  out.put(integers);
  out.put(",\n      \"double\": ");
  out.put(doubles);
  out.put("\n    },\n    \"defined_points\": ");
  out.put(defined);
  out.put(",\n    \"bounding_box\": {\n      \"min_x\": ");
  out.put(min_x);
  out.put(",\n      \"min_y\": ");
  out.put(min_y);
  out.put(",\n      \"max_x\": ");
  out.put(max_x);
  out.put(",\n      \"max_y\": ");
  out.put(max_y);
  out.put("\n    },\n    \"length\": ");
  out.put(length);
  out.put(",\n");
  put_half(out, "x", bytes.data(), points, false);
  put_half(out, "y", y_start, points, true);
  out.put("  }\n]\n");
  return 0;
}
