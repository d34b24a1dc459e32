#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "documents/driver_documents.h"
#include "sources/builtin_sources.h"
#include "support/table_lines.h"
#include "support/writer_check.h"

namespace scenario {
namespace {

using testing::lines_of;

// Whether one of the lines is the text, or holds the part.
bool holds(const std::vector<std::string>& lines, const std::string& text) {
  return std::find(lines.begin(), lines.end(), text) != lines.end();
}

bool holds_part(const std::vector<std::string>& lines, const std::string& part) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& line) { return line.find(part) != std::string::npos; });
}

constexpr size_t kBodyStart = 3;  // from 0: after the title, an empty line and " Precisazioni:"
constexpr size_t kBodyLines = 23;

TEST(NotesSheet, HasTitleBodyAndGreeting) {
  const std::vector<std::string> lines = lines_of(notes_sheet_table());
  ASSERT_EQ(lines.size(), 29u);
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], " Precisazioni:");
  EXPECT_EQ(lines[26], "");
  EXPECT_EQ(lines[27], "Buon viaggio");
  EXPECT_EQ(lines[28], "");
  for (const std::string& line : lines) {
    EXPECT_TRUE(std::all_of(line.begin(), line.end(), [](char c) { return c >= ' ' && c <= '~'; })) << line;
  }
}

TEST(NotesSheet, BodyIsNineParagraphsWrappedByHand) {
  const std::vector<std::string> lines = lines_of(notes_sheet_table());
  ASSERT_GE(lines.size(), kBodyStart + kBodyLines);
  int paragraphs = 0;
  int continuations = 0;
  int trailing_space = 0;
  size_t shortest = std::string::npos;
  size_t longest = 0;
  for (size_t i = kBodyStart; i < kBodyStart + kBodyLines; ++i) {
    const std::string& line = lines[i];
    if (line.starts_with(" - ")) {
      ++paragraphs;
    } else if (line.starts_with("   ") && line[3] != ' ') {
      ++continuations;
    } else {
      ADD_FAILURE() << "neither a paragraph nor a continuation: " << line;
    }
    shortest = std::min(shortest, line.size());
    longest = std::max(longest, line.size());
    if (line.ends_with(' ')) ++trailing_space;
  }
  EXPECT_TRUE(lines[kBodyStart].starts_with(" - "));
  EXPECT_EQ(paragraphs, 9);
  EXPECT_EQ(continuations, 14);
  // The hand wrapping spans lines of 17 to 96 characters, trailing spaces counted.
  EXPECT_EQ(shortest, 17u);
  EXPECT_EQ(longest, 96u);
  EXPECT_GT(trailing_space, 1);
}

TEST(NotesSheet, HoldsTheTellingLines) {
  const std::vector<std::string> lines = lines_of(notes_sheet_table());
  for (const std::string line : {
           " - Il treno ferma in tutte le stazioni. La sosta prevista e' di 30 secondi.",
           " - Le impostazioni relative alle velocita' massime ed i segnali sono di pura fantasia.",
       }) {
    EXPECT_TRUE(holds(lines, line)) << line;
  }
  const std::vector<std::string> underpasses = {
      " - I numerosi sottovia che la linea incontra nel percorso sono simulati con gallerie.",
      "   I cartelli indicano il nome della strada sotto cui passano i sottovia. ",
      "   I sottovia ferroviari sono indicati dalla dicitura 'SOTTOVIA F.S....'."};
  EXPECT_NE(std::search(lines.begin(), lines.end(), underpasses.begin(), underpasses.end()), lines.end());
}

TEST(NotesSheet, TitleNamesTheTrainsAndStationsOfTheCard) {
  const std::vector<std::string> lines = lines_of(notes_sheet_table());
  std::smatch title;
  ASSERT_TRUE(std::regex_match(
      lines.at(0), title,
      std::regex(R"( {8}Treno (\d{5})/(\d{5}) sul percorso ([A-Z][a-z]+) - ([A-Z][a-z]+) - ([A-Z][a-z]+) \(\S+\))")));
  const std::vector<std::string> card = lines_of(timetable_card_table());
  const auto on_card = [&](const std::string& text) { return holds_part(card, text); };
  EXPECT_EQ(title[1].str(), kBuiltInTrain);
  EXPECT_TRUE(on_card("TRENO n." + title[2].str()));
  EXPECT_TRUE(on_card("da: " + title[3].str()));
  EXPECT_TRUE(on_card("a: " + title[4].str()));
  EXPECT_TRUE(on_card("da: " + title[4].str()));
  EXPECT_TRUE(on_card("a: " + title[5].str()));
}

TEST(NotesSheet, AgreesWithTheScenarioData) {
  // Each statement of the sheet, and the row of the sources that bears it out.
  struct Fact {
    std::string said;
    LineTable source;
    std::string row_part;
  };
  const Fact facts[] = {
      {"La sosta prevista e' di 30 secondi.", train_source_table(), ",   30,  "},
      {"quattro carrozze", train_source_table(), "numero vetture,    4"},
      {"simulati con gallerie", line_source_table(), "montagna,"},
      {"'SOTTOVIA F.S....'", line_source_table(), "(SOTTOVIA F.S."},
      {"(km 35,000)", timetable_card_table(), "   35.000 "},
      {"(km 84,500)", timetable_card_table(), "   84.500 "},
      {"2 minuti di recupero", timetable_card_table(), "| 2.0 |"},
  };
  const std::vector<std::string> sheet = lines_of(notes_sheet_table());
  for (const Fact& fact : facts) {
    EXPECT_TRUE(holds_part(sheet, fact.said)) << fact.said;
    EXPECT_TRUE(holds_part(lines_of(fact.source), fact.row_part)) << fact.row_part;
  }
}

TEST(DatiNote, WritesTheTableUnderTheTrainName) {
  // An older, longer file of the same name leaves nothing behind.
  const std::string bytes = testing::written_over_older_file("Dorvallo_Brisente_47302_note.txt", notes_sheet_table(), dati_note);
  EXPECT_EQ(bytes, table_text(notes_sheet_table()));
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 29);
}

}  // namespace
}  // namespace scenario
