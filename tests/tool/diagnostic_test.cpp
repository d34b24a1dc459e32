#include "tool/diagnostic.h"

#include <gtest/gtest.h>

#include "model/error_codes.h"

namespace scenario::tool {
namespace {

TEST(FormatDiagnostic, NamesFileAndLineAndPutsACaretUnderTheField) {
  ErrorSite site;
  site.file = "Dorvallo_Brisente_47302-.txt";
  site.line = 57;
  site.column = 10;
  site.source_line = "segnale,   10500,   1, 3, 0,  0, 0,    0,  0,0,0, 0";
  site.detail = "signal at 10500 m: cell 211 already holds a station stop mark";
  EXPECT_EQ(format_diagnostic(kSignalCellTaken, site),
            "Dorvallo_Brisente_47302-.txt:57: error 16: signal at 10500 m: cell 211 already holds a station stop "
            "mark\n"
            "segnale,   10500,   1, 3, 0,  0, 0,    0,  0,0,0, 0\n"
            "         ^\n");
}

TEST(FormatDiagnostic, TabsBeforeTheFieldAreKeptSoTheCaretLinesUp) {
  ErrorSite site{"f.txt", 2, 3, "\t\tx", "bad"};
  EXPECT_EQ(format_diagnostic(kRunFailure, site), "f.txt:2: error 25: bad\n\t\tx\n\t\t^\n");
}

TEST(FormatDiagnostic, WithoutALineOnlyTheFileIsNamed) {
  ErrorSite site;
  site.file = "S_linea.txt";
  site.detail = "the line source does not exist";
  EXPECT_EQ(format_diagnostic(kNoLineSource, site), "S_linea.txt: error 101: the line source does not exist\n");
}

}  // namespace
}  // namespace scenario::tool
