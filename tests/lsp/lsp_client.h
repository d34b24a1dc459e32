#pragma once

#include <nlohmann/json.hpp>

#include <chrono>
#include <optional>
#include <string>

#include "support/piped_program.h"

namespace scenario::testing {

// How long a test waits for one message of the server.
inline constexpr std::chrono::milliseconds kMessageDeadline{10000};

// The body of the first whole frame at the start of bytes, and its length
// with the header; nothing while it is not whole.
inline std::optional<std::pair<std::string, size_t>> first_frame(const std::string& bytes) {
  const size_t header_end = bytes.find("\r\n\r\n");
  if (header_end == std::string::npos) return std::nullopt;
  const size_t length_at = bytes.find("Content-Length: ");
  if (length_at == std::string::npos || length_at > header_end) return std::nullopt;
  const size_t length = std::stoul(bytes.substr(length_at + 16, header_end - length_at - 16));
  if (bytes.size() < header_end + 4 + length) return std::nullopt;
  return std::pair(bytes.substr(header_end + 4, length), header_end + 4 + length);
}

inline std::string framed_message(const std::string& body) {
  return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// A scripted client of `scenario lsp`, on the real program.
class LspClient {
 public:
  explicit LspClient(const std::string& program) : server_(program, {"lsp"}) {}

  void send(const nlohmann::json& message) { server_.write(framed_message(message.dump())); }
  void write_raw(const std::string& bytes) { server_.write(bytes); }

  void request(int id, const std::string& method, nlohmann::json params) {
    send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}});
  }
  void notify(const std::string& method, nlohmann::json params) {
    send({{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}});
  }

  // The next message of the server; nothing past the deadline or the end of its output.
  std::optional<nlohmann::json> next(std::chrono::milliseconds allowed = kMessageDeadline) {
    if (!server_.read_output_until(buffer_, [](const std::string& bytes) { return first_frame(bytes).has_value(); },
                                   allowed)) {
      return std::nullopt;
    }
    const auto [body, length] = *first_frame(buffer_);
    buffer_.erase(0, length);
    return nlohmann::json::parse(body);
  }

  // The first message that matches, those before it dropped.
  template <typename Match>
  std::optional<nlohmann::json> next_matching(Match&& match) {
    for (std::optional<nlohmann::json> message = next(); message; message = next()) {
      if (match(*message)) return message;
    }
    return std::nullopt;
  }

  std::optional<nlohmann::json> response(int id) {
    return next_matching([id](const nlohmann::json& m) { return m.contains("id") && m["id"] == id; });
  }

  std::optional<nlohmann::json> diagnostics_of(const std::string& uri) {
    return next_matching([&uri](const nlohmann::json& m) {
      return m.value("method", "") == "textDocument/publishDiagnostics" && m["params"]["uri"] == uri;
    });
  }

  PipedProgram& server() { return server_; }

 private:
  PipedProgram server_;
  std::string buffer_;
};

}  // namespace scenario::testing
