#include "tool/diagnostic.h"

#include <gtest/gtest.h>

#include <string>

#include "model/error_codes.h"

namespace scenario::tool {
namespace {

// A diagnostic whose excerpt is its whole source line.
Diagnostic at(Severity severity, int32_t code, std::string name, std::string file, int line, int column,
              std::string source_line, std::string detail) {
  Diagnostic diagnostic{severity, code, std::move(name), file_site(std::move(file), std::move(detail))};
  diagnostic.site.line = line;
  diagnostic.site.column = column;
  diagnostic.site.excerpt.text = std::move(source_line);
  return diagnostic;
}

Diagnostic error_at(int32_t code, std::string file, int line, int column, std::string source_line,
                    std::string detail) {
  return at(Severity::kError, code, {}, std::move(file), line, column, std::move(source_line), std::move(detail));
}

struct Case {
  const char* what;
  Diagnostic diagnostic;
  std::string dir;
  std::string expected;
};

TEST(FormatDiagnostic, EditorsCanJumpToTheFieldAtFault) {
  const Case cases[] = {
      {"path, line, column and a caret under the field",
       error_at(kSignalCellTaken, "Dorvallo_Brisente_47302-.txt", 57, 10,
                "segnale,   10500,   1, 3, 0,  0, 0,    0,  0,0,0, 0",
                "signal at 10500 m: cell 211 already holds a station stop mark"),
       "",
       "Dorvallo_Brisente_47302-.txt:57:10: error 16: signal at 10500 m: cell 211 already holds a station stop "
       "mark\n"
       "segnale,   10500,   1, 3, 0,  0, 0,    0,  0,0,0, 0\n"
       "         ^\n"},
      {"the directory as the author gave it",
       error_at(kRunFailure, "S_linea.txt", 3, 1, "x", "bad"), "routes/",
       "routes/S_linea.txt:3:1: error 25: bad\nx\n^\n"},
      {"tabs before the field stay tabs so the caret lines up",
       error_at(kRunFailure, "f.txt", 2, 3, "\t\tx", "bad"), "", "f.txt:2:3: error 25: bad\n\t\tx\n\t\t^\n"},
      {"without a line only the file is named",
       error_at(kNoLineSource, "S_linea.txt", 0, 0, "", "the line source does not exist"), "d",
       "d/S_linea.txt: error 101: the line source does not exist\n"},
      {"without a file only the number",
       error_at(kMarkTaken, "", 0, 0, "", "reserved mark taken"), "d", "error 1250: reserved mark taken\n"},
      {"a warning carries its name",
       at(Severity::kWarning, 0, "unknown-record", "S_T-.txt", 4, 1, "segnlae, 100", "no record begins with \"segnlae\""),
       "",
       "S_T-.txt:4:1: warning: no record begins with \"segnlae\" [unknown-record]\nsegnlae, 100\n^\n"},
      {"an error without a number",
       error_at(0, "S_linea.txt", 5, 30, std::string(29, ' ') + "x", "text too long"), "",
       "S_linea.txt:5:30: error: text too long\n" + std::string(29, ' ') + "x\n" + std::string(29, ' ') + "^\n"},
      {"Windows-1252 bytes are shown in UTF-8, one column each",
       error_at(kRunFailure, "f.txt", 1, 5, "\xB0" "C, x", "bad"), "", "f.txt:1:5: error 25: bad\n\u00B0C, x\n    ^\n"},
      {"control bytes are escaped and the caret moves past the escape",
       error_at(kRunFailure, "f.txt", 1, 3, "\x1b" "[31m,x", "bad"), "", "f.txt:1:3: error 25: bad\n\\x1b[31m,x\n     ^\n"},
      {"a caret just past the end of the line",
       error_at(kRunFailure, "f.txt", 1, 4, "abc", "bad"), "", "f.txt:1:4: error 25: bad\nabc\n   ^\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(format_diagnostic(c.diagnostic, c.dir), c.expected) << c.what;
}

// A line of a million digits is cut around the caret to about 160 columns,
// and so is a long message.
TEST(FormatDiagnostic, NoSourceLineMakesALongMessage) {
  const std::string digits(1000000, '7');
  const std::string line = "lunghezza percorso, " + digits;
  const std::string text =
      format_diagnostic(error_at(kRunFailure, "S_linea.txt", 2, 500000, line, std::string(5000, 'd')), "");
  EXPECT_LT(text.size(), 800u);
  const size_t echo = text.find('\n') + 1;
  const size_t caret_line = text.find('\n', echo) + 1;
  EXPECT_EQ(text.substr(echo, 3), "...");
  EXPECT_EQ(text.substr(caret_line - 4, 3), "...");
  const size_t caret = text.find('^', caret_line) - caret_line;
  EXPECT_EQ(text[echo + caret], '7');
  EXPECT_EQ(text.size() - text.rfind('\n', text.size() - 2), caret + 3);  // the caret ends the message

  const std::string controls(1000, '\x07');
  const std::string escaped = format_diagnostic(error_at(kRunFailure, "f.txt", 1, 1, controls, "bad"), "");
  EXPECT_LT(escaped.size(), 400u);
  EXPECT_EQ(escaped.find('\x07'), std::string::npos);
}

}  // namespace
}  // namespace scenario::tool
