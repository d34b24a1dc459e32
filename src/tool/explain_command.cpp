#include "tool/explain_command.h"

#include <charconv>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "io/read_file.h"
#include "model/windows1252.h"
#include "tool/commands.h"
#include "tool/diagnostic.h"
#include "tool/error_catalogue.h"
#include "tool/schema_text.h"
#include "tool/warning_catalogue.h"

namespace scenario::tool {
namespace {

constexpr char kErrorLetter = 'E';

std::string known_numbers() {
  std::string list;
  for (const ErrorExplanation& entry : error_catalogue()) {
    list += (list.empty() ? "" : " ") + std::to_string(entry.number);
  }
  return list;
}

std::string known_warnings() {
  std::string list;
  for (const WarningExplanation& entry : warning_catalogue()) {
    list += (list.empty() ? "" : " ") + std::string(entry.name);
  }
  return list;
}

std::string accepted_topics() {
  return "give an error number, as 25 or E25 (" + known_numbers() + "), a warning name (" + known_warnings() +
         "), or a record's keyword (" + schema_keywords() + ")";
}

// "25" and "E25" (or "e25") name error 25, as a diagnostic writes it.
std::optional<int32_t> error_number(std::string_view topic) {
  if (!topic.empty() && (topic.front() == kErrorLetter || topic.front() == 'e')) topic.remove_prefix(1);
  int32_t number = 0;
  const auto [end, trouble] = std::from_chars(topic.data(), topic.data() + topic.size(), number);
  if (topic.empty() || trouble != std::errc{} || end != topic.data() + topic.size()) return std::nullopt;
  return number;
}

std::optional<std::string> explained_error(std::string_view topic) {
  const std::optional<int32_t> number = error_number(topic);
  const ErrorExplanation* entry = number ? explain_error(*number) : nullptr;
  if (entry == nullptr) return std::nullopt;
  return explanation_text(*entry);
}

std::optional<std::string> explained_warning(std::string_view topic) {
  const WarningExplanation* entry = explain_warning(topic);
  if (entry == nullptr) return std::nullopt;
  return warning_text(*entry);
}

// The fields of the records a keyword names, as the schema has them.
std::optional<std::string> explained_records(std::string_view topic) {
  const std::vector<const SchemaRecord*> records = records_named(std::string(topic));
  if (records.empty()) return std::nullopt;
  std::string text;
  for (size_t i = 0; i < records.size(); ++i) text += (i == 0 ? "" : "\n") + record_explanation(*records[i]);
  return text;
}

// The handbook with its record tables made anew, for redirecting over it.
int print_with_schema_tables(const std::string& document) {
  constexpr uintmax_t kLargestDocument = uintmax_t{1} << 24;
  try {
    std::cout << with_schema_tables(read_file(document, {kLargestDocument, "a document"}));
  } catch (const std::system_error& trouble) {
    std::cerr << command_message("explain", trouble.what());
    return kBadCommandLine;
  } catch (const std::invalid_argument& trouble) {
    std::cerr << command_message("explain", document + ": " + trouble.what());
    return kBadCommandLine;
  }
  return kSuccess;
}

}  // namespace

// A topic the compiler never reports is a mistake on the command line.
int explain(const ExplainRequest& request) {
  if (request.markdown) {
    std::cout << error_catalogue_markdown() << warning_catalogue_markdown();
    return kSuccess;
  }
  if (request.schema_document) return print_with_schema_tables(*request.schema_document);
  if (!request.topic) {
    std::cerr << "scenario explain: nothing to explain; " << accepted_topics() << "\n";
    return kBadCommandLine;
  }
  for (const auto explained : {explained_error, explained_warning, explained_records}) {
    if (const std::optional<std::string> text = explained(*request.topic)) {
      std::cout << *text;
      return kSuccess;
    }
  }
  std::cerr << "scenario explain: no error, warning or record " << quoted(*request.topic) << "; "
            << accepted_topics() << "\n";
  return kBadCommandLine;
}

}  // namespace scenario::tool
