#include "lsp/language_server.h"

#include <csignal>
#include <map>
#include <memory>
#include <set>
#include <string>

#include <nlohmann/json.hpp>

#include "lsp/completion.h"
#include "lsp/formatting.h"
#include "lsp/hover.h"
#include "lsp/message_framing.h"
#include "lsp/open_documents.h"
#include "lsp/outline.h"
#include "lsp/published_diagnostics.h"
#include "reader/read_sources.h"

namespace scenario::lsp {
namespace {

using nlohmann::json;

// Typing is checked once the editor has been quiet this long.
constexpr std::chrono::milliseconds kQuietBeforeCheck{150};
// With nothing to check the server still looks up now and then.
constexpr std::chrono::milliseconds kIdleWait{1000};

// The protocol's error codes.
constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;
constexpr int kInternalError = -32603;
constexpr int kServerNotInitialized = -32002;

constexpr int kFullSync = 1;

// The requests about one document.
enum class Request { kHover, kCompletion, kSymbols, kFolding, kFormatting };
const std::map<std::string, Request, std::less<>> kDocumentRequests = {
    {"textDocument/hover", Request::kHover},
    {"textDocument/completion", Request::kCompletion},
    {"textDocument/documentSymbol", Request::kSymbols},
    {"textDocument/foldingRange", Request::kFolding},
    {"textDocument/formatting", Request::kFormatting},
};

json capabilities() {
  return {{"positionEncoding", "utf-16"},
          {"textDocumentSync", {{"openClose", true}, {"change", kFullSync}}},
          {"hoverProvider", true},
          {"completionProvider", {{"triggerCharacters", {",", "["}}}},
          {"documentSymbolProvider", true},
          {"foldingRangeProvider", true},
          {"documentFormattingProvider", true}};
}

// A request's id may be a number or a string; anything else makes it no request.
bool valid_id(const json& id) { return id.is_string() || id.is_number_integer(); }

class LanguageServer {
 public:
  explicit LanguageServer(int out_fd) : out_fd_(out_fd) {}

  // Returns false once the client has said exit.
  bool take(const Frame& frame) {
    if (frame.kind == Frame::Kind::kBadFrame) {
      send_error(nullptr, kParseError, "Parse error: " + frame.body);
      return true;
    }
    const json message = json::parse(frame.body, nullptr, false);
    if (message.is_discarded()) {
      send_error(nullptr, kParseError, "Parse error: the message is not JSON");
      return true;
    }
    return take(message);
  }

  void check_changed() {
    std::set<std::filesystem::path> changed;
    changed.swap(changed_);
    for (const std::filesystem::path& path : changed) {
      for (const ScenarioPair& pair : documents_.pairs_holding(path)) check(pair);
    }
  }

  bool checks_waiting() const { return !changed_.empty(); }
  int exit_status() const { return shutdown_ ? 0 : 1; }

 private:
  bool take(const json& message) {
    const bool has_id = message.is_object() && message.contains("id");
    if (!message.is_object() || !message.contains("method") || !message["method"].is_string() ||
        (has_id && !valid_id(message["id"]))) {
      // A response to a request of ours would have no method: the server sends none.
      if (message.is_object() && (message.contains("result") || message.contains("error"))) return true;
      send_error(has_id && valid_id(message["id"]) ? message["id"] : json(nullptr), kInvalidRequest,
                 "Invalid request: a message needs a method, and a request an id that is a number or a string");
      return true;
    }
    const std::string method = message["method"];
    const json params = message.value("params", json::object());
    if (method == "exit") return false;
    if (!has_id) {
      notice(method, params);
      return true;
    }
    answer(message["id"], method, params);
    return true;
  }

  void answer(const json& id, const std::string& method, const json& params) {
    if (shutdown_) return send_error(id, kInvalidRequest, "the server is shut down: only exit is taken");
    if (!initialized_ && method != "initialize") return send_error(id, kServerNotInitialized, "the server is not initialized");
    try {
      const std::optional<json> result = respond(method, params);
      if (!result) return send_error(id, kMethodNotFound, "method not found: " + method);
      send({{"jsonrpc", "2.0"}, {"id", id}, {"result", *result}});
    } catch (const json::exception& bad) {
      send_error(id, kInvalidParams, std::string("invalid params: ") + bad.what());
    } catch (const ProgramFault& fault) {
      send_error(id, kInternalError, std::string("internal error: ") + fault.what());
    }
  }

  std::optional<json> respond(const std::string& method, const json& params) {
    if (method == "initialize") {
      initialized_ = true;
      return json{{"capabilities", capabilities()}, {"serverInfo", {{"name", "scenario"}, {"version", SCENARIO_VERSION}}}};
    }
    if (method == "shutdown") {
      shutdown_ = true;
      return json(nullptr);
    }
    const auto document_request = kDocumentRequests.find(method);
    if (document_request == kDocumentRequests.end()) return std::nullopt;
    const OpenDocument* document = documents_.find(params.at("textDocument").at("uri"));
    // A document the editor has not opened has nothing to show.
    if (document == nullptr) return document_request->second == Request::kHover ? json(nullptr) : json::array();
    switch (document_request->second) {
      case Request::kHover:
        return hover(*document, params.at("position"));
      case Request::kCompletion:
        return completion_items(document->text, position_of(params.at("position")), document->source);
      case Request::kSymbols:
        return document_symbols(document->text, document->source);
      case Request::kFolding:
        return folding_ranges(document->text);
      case Request::kFormatting:
        return formatting_edits(document->text, document->source);
    }
    return std::nullopt;
  }

  static Position position_of(const json& position) { return {position.at("line"), position.at("character")}; }

  json hover(const OpenDocument& document, const json& position) {
    // A hover reads the scenario as it stands, not as it stood before the last keystroke.
    if (checks_waiting()) check_changed();
    const auto reading = readings_.find(document.path);
    const RouteModel* scenario = reading == readings_.end() ? nullptr : &reading->second->scenario;
    const std::optional<std::string> text = hover_text(document.text, position_of(position), document.source, scenario);
    if (!text) return nullptr;
    return {{"contents", {{"kind", "markdown"}, {"value", *text}}}};
  }

  void notice(const std::string& method, const json& params) {
    if (!initialized_ || shutdown_) return;
    try {
      if (method == "textDocument/didOpen") {
        const json& document = params.at("textDocument");
        documents_.open(document.at("uri"), document.at("text"));
        changed(document.at("uri"));
      } else if (method == "textDocument/didChange") {
        // Full-text sync: the last change holds the whole text.
        const std::string uri = params.at("textDocument").at("uri");
        documents_.open(uri, params.at("contentChanges").back().at("text"));
        changed(uri);
      } else if (method == "textDocument/didClose") {
        close(params.at("textDocument").at("uri"));
      }
    } catch (const json::exception& bad) {
      show_message(std::string("scenario lsp: a notification ") + method + " was not understood: " + bad.what());
    }
  }

  void changed(const std::string& uri) {
    if (const OpenDocument* document = documents_.find(uri); document != nullptr && !document->path.empty()) {
      changed_.insert(document->path);
    }
  }

  void close(const std::string& uri) {
    const OpenDocument* document = documents_.find(uri);
    if (document == nullptr) return;
    const std::filesystem::path path = document->path;
    documents_.close(uri);
    send_notification("textDocument/publishDiagnostics", {{"uri", uri}, {"diagnostics", json::array()}});
    if (!path.empty()) changed_.insert(path);
  }

  void check(const ScenarioPair& pair) {
    std::shared_ptr<const PairReading> reading;
    try {
      reading = std::make_shared<const PairReading>(read_pair(pair, documents_.buffers()));
    } catch (const ProgramFault& fault) {
      show_message(std::string("scenario lsp: internal error: ") + fault.what() +
                   "\nThis is a fault of the program, not of the scenario; please report it with the sources.");
      return;
    }
    for (auto& [path, diagnostics] : published_diagnostics(*reading)) {
      readings_[path] = reading;
      send_notification("textDocument/publishDiagnostics",
                        {{"uri", documents_.uri_of(path)}, {"diagnostics", std::move(diagnostics)}});
    }
  }

  void show_message(const std::string& text) {
    constexpr int kErrorMessage = 1;
    send_notification("window/showMessage", {{"type", kErrorMessage}, {"message", text}});
  }

  void send_notification(const std::string& method, json params) {
    send({{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}});
  }

  void send_error(const json& id, int code, const std::string& text) {
    send({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", text}}}});
  }

  void send(const json& message) {
    write_all(out_fd_, framed(message.dump(-1, ' ', false, json::error_handler_t::replace)));
  }

  int out_fd_;
  bool initialized_ = false;
  bool shutdown_ = false;
  OpenDocuments documents_;
  std::set<std::filesystem::path> changed_;
  // The latest reading each source was published from, for hovers.
  std::map<std::filesystem::path, std::shared_ptr<const PairReading>> readings_;
};

}  // namespace

int serve_language(int in_fd, int out_fd) {
  // A client that goes away is an end of input, not a signal that kills.
  std::signal(SIGPIPE, SIG_IGN);
  FrameReader reader(in_fd);
  LanguageServer server(out_fd);
  for (;;) {
    const Frame frame = reader.next(server.checks_waiting() ? kQuietBeforeCheck : kIdleWait);
    if (frame.kind == Frame::Kind::kEnd) return server.exit_status();
    if (frame.kind == Frame::Kind::kQuiet) {
      server.check_changed();
      continue;
    }
    if (!server.take(frame)) return server.exit_status();
  }
}

}  // namespace scenario::lsp
