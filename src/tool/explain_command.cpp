#include "tool/explain_command.h"

#include <charconv>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>

#include "io/read_file.h"
#include "tool/commands.h"
#include "tool/error_catalogue.h"
#include "tool/schema_text.h"

namespace scenario::tool {
namespace {

std::string known_numbers() {
  std::string list;
  for (const ErrorExplanation& entry : error_catalogue()) {
    list += (list.empty() ? "" : " ") + std::to_string(entry.number);
  }
  return list;
}

// The topic as an error number, when it is one.
std::optional<int32_t> error_number(const std::optional<std::string>& topic) {
  if (!topic) return std::nullopt;
  int32_t number = 0;
  const char* end = topic->data() + topic->size();
  const auto [stop, trouble] = std::from_chars(topic->data(), end, number);
  if (trouble != std::errc() || stop != end) return std::nullopt;
  return number;
}

// A topic that is no number names records of the sources: their fields as
// the schema has them, or a list of what explain takes.
int explain_records(const std::string& topic) {
  const std::vector<const SchemaRecord*> records = records_named(topic);
  if (records.empty()) {
    std::cerr << "scenario explain: no error number and no record \"" << topic << "\"; the numbers are "
              << known_numbers() << "; the records are " << schema_keywords() << "\n";
    return kBadCommandLine;
  }
  for (size_t i = 0; i < records.size(); ++i) std::cout << (i == 0 ? "" : "\n") << record_explanation(*records[i]);
  return kSuccess;
}

// The handbook with its record tables made anew, for redirecting over it.
int print_with_schema_tables(const std::string& document) {
  constexpr uintmax_t kLargestDocument = uintmax_t{1} << 24;
  try {
    std::cout << with_schema_tables(read_file(document, {kLargestDocument, "a document"}));
  } catch (const std::system_error& trouble) {
    std::cerr << "scenario explain: " << trouble.what() << "\n";
    return kBadCommandLine;
  } catch (const std::invalid_argument& trouble) {
    std::cerr << "scenario explain: " << document << ": " << trouble.what() << "\n";
    return kBadCommandLine;
  }
  return kSuccess;
}

}  // namespace

// A number the compiler never reports is a mistake on the command line.
int explain(const ExplainRequest& request) {
  if (request.markdown) {
    std::cout << error_catalogue_markdown();
    return kSuccess;
  }
  if (request.schema_document) return print_with_schema_tables(*request.schema_document);
  const std::optional<int32_t> number = error_number(request.topic);
  if (request.topic && !number) return explain_records(*request.topic);
  const ErrorExplanation* entry = number ? explain_error(*number) : nullptr;
  if (entry == nullptr) {
    std::cerr << "scenario explain: "
              << (number ? "no error " + std::to_string(*number) : std::string("no error number"))
              << "; the numbers are " << known_numbers() << "\n";
    return kBadCommandLine;
  }
  std::cout << explanation_text(*entry);
  return kSuccess;
}

}  // namespace scenario::tool
