// The protocol's edge cases as transcripts: each file of transcripts/ says
// what the client sends, what the server must answer, in order, and the
// server's exit status.
//
//   send JSON      a message, framed with its Content-Length
//   raw TEXT       bytes as they are, \r and \n written so
//   expect JSON    the next message of the server holds at least this
//   status N       the exit status once the input has ended

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "lsp/lsp_client.h"

namespace scenario::testing {
namespace {

using nlohmann::json;

const std::filesystem::path kTranscripts = std::filesystem::path(PROJECT_SOURCE_DIR) / "tests/lsp/transcripts";

struct Transcript {
  std::string input;
  std::vector<json> expected;
  int status = -1;
};

std::string unescaped(const std::string& text) {
  std::string bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'r' || text[i + 1] == 'n')) {
      bytes += text[++i] == 'r' ? '\r' : '\n';
    } else {
      bytes += text[i];
    }
  }
  return bytes;
}

Transcript read_transcript(const std::filesystem::path& path) {
  Transcript transcript;
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) {
    const std::string word = line.substr(0, line.find(' '));
    const std::string rest = line.size() > word.size() ? line.substr(word.size() + 1) : "";
    if (word == "send") transcript.input += framed_message(rest);
    if (word == "raw") transcript.input += unescaped(rest);
    if (word == "expect") transcript.expected.push_back(json::parse(rest));
    if (word == "status") transcript.status = std::stoi(rest);
  }
  return transcript;
}

// Whether actual holds everything expected holds: objects may have more keys.
bool holds(const json& actual, const json& expected) {
  if (!expected.is_object()) return actual == expected;
  if (!actual.is_object()) return false;
  for (const auto& [key, value] : expected.items()) {
    if (!actual.contains(key) || !holds(actual[key], value)) return false;
  }
  return true;
}

TEST(LspTranscripts, EachTranscriptIsAnsweredAsWritten) {
  size_t run = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kTranscripts)) {
    const Transcript transcript = read_transcript(entry.path());
    SCOPED_TRACE(entry.path().filename().string());
    LspClient client(SCENARIO_PROGRAM);
    client.write_raw(transcript.input);
    client.server().close_input();
    std::vector<json> answers;
    while (std::optional<json> answer = client.next()) answers.push_back(*answer);
    ASSERT_EQ(answers.size(), transcript.expected.size()) << json(answers).dump(1);
    for (size_t i = 0; i < answers.size(); ++i) EXPECT_TRUE(holds(answers[i], transcript.expected[i])) << answers[i];
    EXPECT_EQ(client.server().wait(kMessageDeadline), transcript.status);
    ++run;
  }
  EXPECT_GT(run, 0u) << "no transcript in " << kTranscripts;
}

}  // namespace
}  // namespace scenario::testing
