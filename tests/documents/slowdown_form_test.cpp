#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "documents/driver_documents.h"
#include "support/table_lines.h"
#include "support/writer_check.h"

namespace scenario {
namespace {

using testing::lines_of;

const std::string kRule = " |___|____________________________|____________|__________|_________|____________|";
const std::string kEmptyRow = " |   |                            |            |          |         |            |";

TEST(SlowdownForm, LinesAreWrittenExactly) {
  const std::vector<std::string> lines = lines_of(slowdown_form_table());
  ASSERT_EQ(lines.size(), 46u);
  // Line numbers from 1, as the form is read.
  const std::map<size_t, std::string> expected = {
      {1, ""},
      {2, "                               Modulo M. 3"},
      {3, "                           ORDINE DI RALLENTAMENTO"},
      {4, " " + std::string(80, '_')},
      {5, "  Linea  xxxxxx xxxxxxx"},
      {6, ""},
      {7, "  Si ordina al macchinista del treno xxxxx di effettuare i seguenti rallentamenti"},
      {8, "  " + std::string(79, '_')},
      {9, " |   |                            |Inizio dopo |          |         |            |"},
      {10, " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|"},
      {11, " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |"},
      {12, kRule},
      {39, kRule},
      {40, ""},
      {41, "              Prescrizioni specifiche"},
      {42, " A - Da rispettare con tutto il treno (per i treni viaggiatori)"},
      {43, " B - Interessa anche la stazione di......."},
      {44, " D - Rallentamneto N. ... e N. ...  sono contigui"},
      {45, " C - Da rispettare dalle ore ....  alle ore ..... di tutti"},
      {46, "     i giorni esclusi i seguenti:........."},
  };
  for (const auto& [number, text] : expected) EXPECT_EQ(lines[number - 1], text) << "line " << number;
  for (size_t number = 13; number <= 38; ++number) EXPECT_EQ(lines[number - 1], kEmptyRow) << "line " << number;
}

TEST(SlowdownForm, TableLinesHaveTheirBarsInFixedColumns) {
  // Columns of 3, 28, 12, 10, 9 and 12 characters between bars.
  const std::vector<std::string> lines = lines_of(slowdown_form_table());
  for (size_t number = 9; number <= 39; ++number) {
    const std::string& line = lines.at(number - 1);
    ASSERT_EQ(line.size(), 82u) << "line " << number;
    for (size_t column = 0; column < line.size(); ++column) {
      EXPECT_EQ(line[column] == '|', kEmptyRow[column] == '|') << "line " << number << " column " << column + 1;
    }
  }
}

TEST(DatiRallentamenti, WritesTheTableUnderTheTrainName) {
  // An older, longer file of the same name leaves nothing behind.
  const std::string bytes = testing::written_over_older_file("Dorvallo_Brisente_47302_rallentamenti.txt", slowdown_form_table(), dati_rallentamenti);
  EXPECT_EQ(bytes, table_text(slowdown_form_table()));
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 46);
}

}  // namespace
}  // namespace scenario
