#include "format/line_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "format/decode_error.h"
#include "format/scenario_format.h"
#include "model/run_failure.h"
#include "model/trace_walk.h"
#include "support/hex.h"
#include "support/model_fixtures.h"

namespace scenario {
namespace {

using testing::from_hex;
using testing::to_hex;

TEST(LineGeometry, TaggedValuesTake2Or4Or10BytesAllXBeforeAllY) {
  Trace trace;
  trace.x = {TraceValue{TraceValue::kInt16, -2.0}, TraceValue{TraceValue::kDouble, 1.0}, TraceValue{}};
  trace.y = {TraceValue{TraceValue::kInt16, 1.0}, TraceValue{TraceValue::kDouble, -0.1}, TraceValue{}};
  const std::string bytes = from_hex(
      "02 00 FE FF "                     // x0: a 16-bit integer
      "05 00 00 00 00 00 00 00 F0 3F "   // x1: the double 1.0, low byte first
      "00 00 "                           // x2: empty
      "02 00 01 00 "                     // then the y values
      "05 00 9A 99 99 99 99 99 B9 BF "
      "00 00");
  EXPECT_EQ(to_hex(encode_line_geometry(trace)), to_hex(bytes));
  const Trace decoded = decode_line_geometry(bytes);
  EXPECT_EQ(decoded.x, trace.x);
  EXPECT_EQ(decoded.y, trace.y);
}

TEST(LineGeometry, CompleteTraceTakes20EMinus36BytesWithYFromTheMiddle) {
  const int e = 100;
  const std::string bytes = encode_line_geometry(testing::complete_trace(e));
  ASSERT_EQ(bytes.size(), static_cast<size_t>(20 * e - 36));
  EXPECT_EQ(to_hex(std::string_view(bytes).substr(0, 8)), "02 00 00 00 02 00 00 00");
  EXPECT_EQ(to_hex(std::string_view(bytes).substr(10 * e - 18, 8)), "02 00 00 00 02 00 01 00");
}

// A plan trace is streamed, chunk by chunk, as the file of its points: with
// no trace at all, created but never seeded, and cut short by a refusal with
// bends on both sides, long enough for several chunks. The chunks, each at
// its offset, fill the file of the size foretold without overlapping.
TEST(LineGeometry, PlanTraceStreamsTheFileOfItsPoints) {
  const PlanTrace plans[] = {
      PlanTrace{},
      PlanTrace{.points = 7, .seeded = false, .runs = {}},
      PlanTrace{.points = 20001,
                .seeded = true,
                .runs = {{2, 100, 0.0}, {101, 150, 0.003}, {151, 9000, 0.0}, {9001, 9500, -0.0001}}},
  };
  for (const PlanTrace& plan : plans) {
    const uint64_t size = line_geometry_size(plan);
    std::string streamed(size, '?');
    std::vector<bool> written(size);
    write_line_geometry(plan, [&](uint64_t offset, std::string_view chunk) {
      EXPECT_FALSE(chunk.empty());
      EXPECT_LE(chunk.size(), kGeometryChunkBytes);
      ASSERT_LE(offset + chunk.size(), size);
      for (uint64_t at = offset; at < offset + chunk.size(); ++at) {
        EXPECT_FALSE(written[at]) << "byte " << at << " written twice";
        written[at] = true;
      }
      streamed.replace(offset, chunk.size(), chunk);
    });
    EXPECT_EQ(std::count(written.begin(), written.end(), false), 0);
    EXPECT_EQ(streamed, encode_line_geometry(trace_points(plan))) << plan.points << " points";
  }
}

// No file holds more values than the plan of the longest route: short empty
// values cannot pack more points into a file of the largest size.
TEST(LineGeometry, NoMoreValuesThanTheLongestPlanHas) {
  const std::string empty_value(kTagBytes, '\0');
  std::string most;
  most.reserve((kMostTraceValues + 2) * kTagBytes);
  for (size_t i = 0; i < kMostTraceValues; ++i) most += empty_value;
  EXPECT_EQ(decode_line_geometry(most).x.size(), kMostTraceValues / 2);
  most += empty_value + empty_value;
  try {
    decode_line_geometry(most);
    ADD_FAILURE() << "a file with more values than the longest plan was decoded";
  } catch (const DecodeError& error) {
    EXPECT_EQ(error.offset, kMostTraceValues * kTagBytes);
  }
}

TEST(LineGeometry, IntegerOutside16BitsIsAFailure) {
  Trace trace;
  trace.x = {TraceValue{TraceValue::kInt16, 40000.0}};
  EXPECT_THROW(encode_line_geometry(trace), RunFailure);
}

}  // namespace
}  // namespace scenario
