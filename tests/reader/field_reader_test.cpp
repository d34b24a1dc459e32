#include "reader/field_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "model/run_failure.h"

namespace scenario {
namespace {

// A read of the sequence: text returns a string, number an integer.
using Field = std::variant<std::string, int32_t>;
const std::string kText;
const int32_t kNumber = 0;

struct ReadCase {
  const char* name;
  std::string source;
  std::vector<Field> expected;  // the kind of each value says which read to do
};

std::vector<Field> read_as(FieldReader& reader, const std::vector<Field>& kinds) {
  std::vector<Field> fields;
  for (const Field& kind : kinds) {
    if (std::holds_alternative<std::string>(kind)) {
      fields.emplace_back(std::string(reader.read_text()));
    } else {
      fields.emplace_back(reader.read_number());
    }
  }
  return fields;
}

class FieldReads : public ::testing::TestWithParam<ReadCase> {};

TEST_P(FieldReads, GiveTheFieldsInOrderAndEndTheText) {
  const ReadCase& c = GetParam();
  FieldReader reader(c.source);
  EXPECT_EQ(read_as(reader, c.expected), c.expected);
  EXPECT_TRUE(reader.at_end());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FieldReads,
    ::testing::Values(
        ReadCase{"KeywordRow", "lunghezza percorso,    117000\r\n", {"lunghezza percorso", 117000}},
        ReadCase{"BlanksBeforeACommaBelongToTheNumber", "0    ,0\r\n", {0, 0}},
        ReadCase{"NumbersSeparatedByBlanks", "orologio,    10              55            30 \r\n",
                 {"orologio", 10, 55, 30}},
        ReadCase{"NegativeNumber", "progressiva, 34000,  -30500, 0\r\n", {"progressiva", 34000, -30500, 0}},
        ReadCase{"Limits", "2147483647,-2147483648", {2147483647, -2147483647 - 1}},
        ReadCase{"QuotedFieldKeepsCommasAndDropsTheRest",
                 "\"(SOTTOVIA, A)\" dropped,next\r\n", {"(SOTTOVIA, A)", "next"}},
        ReadCase{"QuotedFieldKeepsItsBlanks", "\"  a  \"\r\n", {"  a  "}},
        ReadCase{"UnquotedTextLosesBlanksAroundIt", "   abc  \t,  d e  \r\n", {"abc", "d e"}},
        ReadCase{"CommaSplitsAnUnquotedBoardText", "cartello, 100, (A),(B)\r\n",
                 {"cartello", 100, "(A)", "(B)"}},
        ReadCase{"EmptyLineIsOneEmptyField", "a\r\n\r\nb\r\n", {"a", "", "b"}},
        ReadCase{"EmptyFieldBetweenCommas", "a,,b", {"a", "", "b"}},
        ReadCase{"LoneLineFeedAndCarriageReturnEndLines", "a\nb\rc\r\n", {"a", "b", "c"}},
        ReadCase{"NumberAtTheEndWithoutLineEnd", "pendenza, 1000,  5", {"pendenza", 1000, 5}},
        ReadCase{"NumberLineThenText", "1 2\r\nx", {1, 2, "x"}},
        ReadCase{"Windows1252BytesPassUnchanged", "\"Km 4\xB0\"\r\n", {"Km 4\xB0"}}),
    [](const auto& c) { return std::string(c.param.name); });

// A field ends at the first comma, CR or LF, wherever it falls among the
// blocks the scan reads at once, and at the end of a text that has none; a
// byte with its high bit set is no end.
TEST(FieldEnd, IsTheFirstCommaOrLineEndFromTheStart) {
  for (const char end : {',', '\r', '\n'}) {
    for (size_t length = 0; length <= 140; ++length) {
      for (size_t at = 0; at <= length; ++at) {
        std::string text(length, '\xAC');
        if (at < length) text[at] = end;
        for (const size_t from : {size_t{0}, size_t{1}, size_t{17}, size_t{63}, size_t{64}}) {
          const size_t expected = at < length && from <= at ? at : length;
          if (from > length) continue;
          EXPECT_EQ(field_end(text, from), expected) << length << " " << at << " " << from;
        }
      }
    }
  }
}

// Of two ends in the blocks read at once, or in blocks read one after the
// other, the first one counts.
TEST(FieldEnd, IsTheFirstOfTwoEnds) {
  for (size_t first = 0; first < 130; ++first) {
    for (size_t second = first + 1; second < 130; second += 7) {
      std::string text(130, 'x');
      text[first] = ',';
      text[second] = '\n';
      EXPECT_EQ(field_end(text, 0), first) << first << " " << second;
    }
  }
}

TEST(FieldReader, AtEndOnlyOnceEveryByteIsConsumed) {
  FieldReader reader("a\r\n");
  EXPECT_FALSE(reader.at_end());
  EXPECT_EQ(reader.read_text(), "a");
  EXPECT_TRUE(reader.at_end());

  FieldReader trailing("a,\r\n");
  trailing.read_text();
  EXPECT_FALSE(trailing.at_end());
  EXPECT_EQ(trailing.read_text(), "");
  EXPECT_TRUE(trailing.at_end());
}

struct FailureCase {
  const char* name;
  std::string source;
  std::vector<Field> reads;  // the last one fails
};

class FailingReads : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailingReads, ThrowRunFailure) {
  const FailureCase& c = GetParam();
  FieldReader reader(c.source);
  const std::vector<Field> before(c.reads.begin(), c.reads.end() - 1);
  read_as(reader, before);
  EXPECT_THROW(read_as(reader, {c.reads.back()}), RunFailure);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailingReads,
    ::testing::Values(FailureCase{"TextFromAnEmptyFile", "", {kText}},
                      FailureCase{"NumberFromAnEmptyFile", "", {kNumber}},
                      FailureCase{"TextPastTheEnd", "pendenza\r\n", {kText, kText}},
                      FailureCase{"NumberPastTheEnd", "pendenza, 100\r\n", {kText, kNumber, kNumber}},
                      FailureCase{"NumberFromBlanksAtTheEnd", "1,   ", {kNumber, kNumber}},
                      FailureCase{"Word", "abc\r\n", {kNumber}},
                      FailureCase{"EmptyField", ",1", {kNumber}},
                      FailureCase{"EmptyLine", "\r\n1", {kNumber}},
                      FailureCase{"DigitsThenLetters", "12x, 3", {kNumber}},
                      FailureCase{"Fraction", "1.5", {kNumber}},
                      FailureCase{"PlusSign", "+5", {kNumber}},
                      FailureCase{"BareMinus", "- 5", {kNumber}},
                      FailureCase{"AboveThirtyTwoBits", "2147483648", {kNumber}},
                      FailureCase{"BelowThirtyTwoBits", "-2147483649", {kNumber}},
                      FailureCase{"HugeDigitRun", "123456789012345678901234567890", {kNumber}},
                      FailureCase{"UnclosedQuote", "\"abc, def\r\n", {kText}}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(FieldReader, NumbersMustFitTheirField) {
  FieldReader reader("255, 256, 32767, -32769");
  EXPECT_EQ(reader.read_number_as<uint8_t>(), 255);
  EXPECT_THROW(reader.read_number_as<uint8_t>(), RunFailure);
  EXPECT_EQ(reader.read_number_as<int16_t>(), 32767);
  EXPECT_THROW(reader.read_number_as<int16_t>(), RunFailure);
}

TEST(FieldReader, KeepsWhereEachFieldBegan) {
  FieldReader reader("comment\r\n  pendenza,   1000,5\r\n\"two\r\nlines\", x\r\n", "S_linea.txt");
  reader.read_text();
  EXPECT_EQ(reader.read_text(), "pendenza");
  const FieldSite pendenza = reader.site();
  EXPECT_EQ(pendenza.line, 2);
  EXPECT_EQ(pendenza.column, 3);
  reader.read_number();
  EXPECT_EQ(reader.site().column, 15);
  reader.read_number();
  EXPECT_EQ(reader.site().column, 20);
  EXPECT_EQ(reader.read_text(), "two\r\nlines");
  EXPECT_EQ(reader.site().line, 3);
  EXPECT_EQ(reader.read_text(), "x");
  EXPECT_EQ(reader.site().line, 4);
  EXPECT_EQ(reader.site().column, 9);
  EXPECT_EQ(reader.excerpt(pendenza).text, "  pendenza,   1000,5");
  EXPECT_EQ(reader.excerpt(reader.site()).text, "lines\", x");
  EXPECT_EQ(reader.excerpt(reader.site()).first_column, 1);
  EXPECT_FALSE(reader.excerpt(reader.site()).cut_after);
  EXPECT_EQ(reader.content_end_column(pendenza), 21);
  EXPECT_EQ(reader.file_name(), "S_linea.txt");
}

// However long its line, a diagnostic keeps only the bytes around its
// column: a one-line source of a million fields gives excerpts of a few
// hundred bytes.
TEST(FieldReader, AnExcerptHoldsOnlyTheBytesAroundItsColumn) {
  std::string line = "pendenza";
  for (int i = 0; i < 500000; ++i) line += ", 1000";
  line += "\r\nnext\r\n";
  FieldReader reader(line);
  for (int i = 0; i < 250001; ++i) reader.read_text();
  const FieldSite middle = reader.site();
  const LineExcerpt excerpt = reader.excerpt(middle);
  EXPECT_EQ(excerpt.text.size(), 2 * FieldReader::kExcerptReach);
  EXPECT_EQ(excerpt.first_column, middle.column - static_cast<int>(FieldReader::kExcerptReach));
  EXPECT_TRUE(excerpt.cut_after);
  EXPECT_EQ(excerpt.text.substr(FieldReader::kExcerptReach, 4), "1000");

  const LineExcerpt start = reader.excerpt({1, 1, 0});
  EXPECT_EQ(start.first_column, 1);
  EXPECT_TRUE(start.text.starts_with("pendenza, 1000"));
  EXPECT_EQ(start.text.size(), FieldReader::kExcerptReach);
}

TEST(FieldReader, AFailedReadPointsAtItsField) {
  FieldReader reader("pendenza, 1000\r\n  12x, 3\r\n");
  reader.read_text();
  reader.read_number();
  EXPECT_THROW(reader.read_number(), RunFailure);
  EXPECT_EQ(reader.site().line, 2);
  EXPECT_EQ(reader.site().column, 3);

  FieldReader ended("pendenza\r\n");
  ended.read_text();
  EXPECT_THROW(ended.read_number(), RunFailure);
  EXPECT_EQ(ended.site().line, 2);
  EXPECT_EQ(ended.site().column, 1);
}

// A reading that goes on after a refused record moves to a line start, back
// or forth, or past the rest of its line; where a field stands on its line
// is known without a search.
TEST(FieldReader, MovesToTheNextRecordAfterARefusal) {
  FieldReader reader("segnale, 1, 2\r\n  stazione, 3\r\n\r\nfine");
  EXPECT_EQ(reader.read_text(), "segnale");
  EXPECT_TRUE(reader.field_opens_line());
  reader.read_number();
  EXPECT_FALSE(reader.field_opens_line());
  reader.skip_rest_of_line();
  EXPECT_TRUE(reader.at_line_start());
  EXPECT_EQ(reader.line(), 2);
  EXPECT_EQ(reader.read_text(), "stazione");
  EXPECT_TRUE(reader.field_opens_line());
  const FieldSite stazione = reader.site();
  EXPECT_EQ(reader.excerpt(stazione).text, "  stazione, 3");
  EXPECT_EQ(reader.fields_read(), 3);

  reader.restart_at_line_of({1, 10, 9});  // the 1 of segnale
  EXPECT_EQ(reader.read_text(), "segnale");
  EXPECT_TRUE(reader.field_opens_line());
  reader.read_number();
  reader.read_number();
  EXPECT_EQ(reader.read_text(), "stazione");
  EXPECT_TRUE(reader.field_opens_line());
  reader.restart_at_line_of(stazione);
  EXPECT_EQ(reader.line(), 2);
  EXPECT_EQ(reader.read_text(), "stazione");
  EXPECT_EQ(reader.site().offset, stazione.offset);
}

// Whether a field opens its line is known as the reader goes: blanks before
// it do not count, a field or a comma does, and a quoted field that spans
// lines takes the line it closes on.
TEST(FieldReader, KnowsWhetherAFieldOpensItsLine) {
  FieldReader reader("  a, b\r\n,c\r\n\"x\r\ny\", d\r\n\te, 1 2\r\n");
  const auto opens = [&reader] {
    reader.read_text();
    return reader.field_opens_line();
  };
  EXPECT_TRUE(opens());   // a
  EXPECT_FALSE(opens());  // b
  EXPECT_TRUE(opens());   // the empty field before the comma
  EXPECT_FALSE(opens());  // c
  EXPECT_TRUE(opens());   // the quoted field
  EXPECT_FALSE(opens());  // d, after the quote closed on its line
  EXPECT_TRUE(opens());   // e, after a tab
  reader.read_number();
  reader.read_number();
  EXPECT_FALSE(reader.field_opens_line());  // 2, after 1 and a blank
}

}  // namespace
}  // namespace scenario
