#include "tool/diagnostic.h"

#include <gtest/gtest.h>

#include <string>

#include "model/error_codes.h"
#include "tool/diagnostic_list.h"

namespace scenario::tool {
namespace {

// A site whose excerpt is its whole source line.
ErrorSite site_at(std::string file, int line, int column, std::string source_line, std::string detail) {
  ErrorSite site = file_site(std::move(file), std::move(detail));
  site.line = line;
  site.column = column;
  site.excerpt.text = std::move(source_line);
  return site;
}

Diagnostic at(Severity severity, int32_t code, std::string name, std::string file, int line, int column,
              std::string source_line, std::string detail) {
  return {severity, code, std::move(name),
          site_at(std::move(file), line, column, std::move(source_line), std::move(detail))};
}

Diagnostic error_at(int32_t code, std::string file, int line, int column, std::string source_line,
                    std::string detail) {
  return at(Severity::kError, code, {}, std::move(file), line, column, std::move(source_line), std::move(detail));
}

Diagnostic with_note(Diagnostic diagnostic, ErrorSite note) {
  diagnostic.notes.push_back(std::move(note));
  return diagnostic;
}

Diagnostic warning_at(std::string name, std::string file, int line, int column, std::string source_line,
                      std::string detail) {
  return at(Severity::kWarning, 0, std::move(name), std::move(file), line, column, std::move(source_line),
            std::move(detail));
}

// The signal refused on a station's stop mark, and the station that put it
// there.
Diagnostic signal_on_stop_mark() {
  return with_note(error_at(kSignalCellTaken, "S_T-.txt", 5, 10, "segnale, 10500, 1, 3", "cell 211 is taken"),
                   site_at("S_T-.txt", 3, 11, "stazione, 10300, 12, 600", "the station put its stop mark there"));
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
       "Dorvallo_Brisente_47302-.txt:57:10: error: signal at 10500 m: cell 211 already holds a station stop "
       "mark [E16]\n"
       "segnale,   10500,   1, 3, 0,  0, 0,    0,  0,0,0, 0\n"
       "         ^\n"},
      {"the directory as the author gave it",
       error_at(kRunFailure, "S_linea.txt", 3, 1, "x", "bad"), "routes/",
       "routes/S_linea.txt:3:1: error: bad [E25]\nx\n^\n"},
      {"tabs before the field stay tabs so the caret lines up",
       error_at(kRunFailure, "f.txt", 2, 3, "\t\tx", "bad"), "", "f.txt:2:3: error: bad [E25]\n\t\tx\n\t\t^\n"},
      {"without a line only the file is named",
       error_at(kNoLineSource, "S_linea.txt", 0, 0, "", "the line source does not exist"), "d",
       "d/S_linea.txt: error: the line source does not exist [E101]\n"},
      {"without a file only the number",
       error_at(kMarkTaken, "", 0, 0, "", "reserved mark taken"), "d", "error: reserved mark taken [E1250]\n"},
      {"a warning carries its name",
       at(Severity::kWarning, 0, "unknown-record", "S_T-.txt", 4, 1, "segnlae, 100", "no record begins with \"segnlae\""),
       "",
       "S_T-.txt:4:1: warning: no record begins with \"segnlae\" [unknown-record]\nsegnlae, 100\n^\n"},
      {"an error without a number",
       error_at(0, "S_linea.txt", 5, 30, std::string(29, ' ') + "x", "text too long"), "",
       "S_linea.txt:5:30: error: text too long\n" + std::string(29, ' ') + "x\n" + std::string(29, ' ') + "^\n"},
      {"Windows-1252 bytes are shown in UTF-8, one column each",
       error_at(kRunFailure, "f.txt", 1, 5, "\xB0" "C, x", "bad"), "", "f.txt:1:5: error: bad [E25]\n\u00B0C, x\n    ^\n"},
      {"control bytes are escaped and the caret moves past the escape",
       error_at(kRunFailure, "f.txt", 1, 3, "\x1b" "[31m,x", "bad"), "", "f.txt:1:3: error: bad [E25]\n\\x1b[31m,x\n     ^\n"},
      {"a caret just past the end of the line",
       error_at(kRunFailure, "f.txt", 1, 4, "abc", "bad"), "", "f.txt:1:4: error: bad [E25]\nabc\n   ^\n"},
      {"a note after its error, with its own line and caret", signal_on_stop_mark(), "r",
       "r/S_T-.txt:5:10: error: cell 211 is taken [E16]\nsegnale, 10500, 1, 3\n         ^\n"
       "r/S_T-.txt:3:11: note: the station put its stop mark there\nstazione, 10300, 12, 600\n          ^\n"},
      {"a note about a whole file",
       with_note(warning_at("no-general-heading", "S_T-.txt", 0, 0, "", "no heading"),
                 file_site("S_linea.txt", "the line source was read")),
       "", "S_T-.txt: warning: no heading [no-general-heading]\nS_linea.txt: note: the line source was read\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(format_diagnostic(c.diagnostic, c.dir), c.expected) << c.what;
}

// The form gcc's problem matchers and Vim's errorformat read, one line a
// kind: "PATH:LINE:COL: KIND: message [TAG]".
TEST(FormatDiagnostic, EachKindInTheFormOfGcc) {
  const Case cases[] = {
      {"an error, tagged with its number", error_at(kStationOffGrid, "S_T-.txt", 2, 11, "stazione, 10025", "off"), "",
       "S_T-.txt:2:11: error: off [E8]\nstazione, 10025\n          ^\n"},
      {"a warning, tagged with its name", warning_at("speed-rounded", "S_T-.txt", 2, 14, "velocita, 0, 93", "93"), "",
       "S_T-.txt:2:14: warning: 93 [speed-rounded]\nvelocita, 0, 93\n             ^\n"},
      {"a note, untagged", signal_on_stop_mark(), "",
       "S_T-.txt:5:10: error: cell 211 is taken [E16]\nsegnale, 10500, 1, 3\n         ^\n"
       "S_T-.txt:3:11: note: the station put its stop mark there\nstazione, 10300, 12, 600\n          ^\n"},
      {"a whole file", error_at(kNoGeneralHeading, "S_linea.txt", 0, 0, "", "no heading"), "",
       "S_linea.txt: error: no heading [E102]\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(format_diagnostic(c.diagnostic, c.dir), c.expected) << c.what;
}

// gcc's colours: the place in bold, the kind and its tag in bold red,
// magenta or cyan, the caret in bold green; the echo as it is.
TEST(FormatDiagnostic, InColourAsGccColoursItsOwn) {
  const Case cases[] = {
      {"an error", error_at(kStationOffGrid, "S_T-.txt", 2, 3, "x, y", "off"), "",
       "\x1b[01mS_T-.txt:2:3:\x1b[m \x1b[01;31merror:\x1b[m off [\x1b[01;31mE8\x1b[m]\nx, y\n  \x1b[01;32m^\x1b[m\n"},
      {"a warning", warning_at("late-time", "S_T-.txt", 2, 1, "x", "late"), "",
       "\x1b[01mS_T-.txt:2:1:\x1b[m \x1b[01;35mwarning:\x1b[m late [\x1b[01;35mlate-time\x1b[m]\nx\n"
       "\x1b[01;32m^\x1b[m\n"},
      {"a note", with_note(error_at(0, "", 0, 0, "", "taken"), file_site("S_linea.txt", "here")), "",
       "\x1b[01;31merror:\x1b[m taken\n\x1b[01mS_linea.txt:\x1b[m \x1b[01;36mnote:\x1b[m here\n"},
      {"a whole file", error_at(kNoLineSource, "S_linea.txt", 0, 0, "", "missing"), "d",
       "\x1b[01md/S_linea.txt:\x1b[m \x1b[01;31merror:\x1b[m missing [\x1b[01;31mE101\x1b[m]\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(format_diagnostic(c.diagnostic, c.dir, true), c.expected) << c.what;
}

TEST(SummaryLine, CountsOnlyWhatTheListHeld) {
  const struct {
    tool::ListCount count;
    std::string expected;
  } cases[] = {
      {{0, 0}, ""},
      {{1, 0}, "1 error\n"},
      {{2, 0}, "2 errors\n"},
      {{0, 1}, "1 warning\n"},
      {{0, 3}, "3 warnings\n"},
      {{1, 1}, "1 error, 1 warning\n"},
      {{2, 3}, "2 errors, 3 warnings\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(summary_line(c.count), c.expected) << c.count.errors << " " << c.count.warnings;
  }
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
