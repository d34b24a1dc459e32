// The reading as a function of its texts: what one run of read_sources
// returns, and the one reading loop under it.

#include "reader/read_sources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/error_codes.h"
#include "reader/diagnostic_log.h"
#include "reader/record_loop.h"
#include "sources/builtin_sources.h"
#include "sources/line_table.h"
#include "support/fuzz_corpus.h"
#include "support/reader_error.h"

namespace scenario {
namespace {

using testing::recorded_error;

constexpr char kLineFile[] = "S_linea.txt";
constexpr char kTrainFile[] = "S_T-.txt";

ReadOptions options(bool recover, int32_t write_trace = 1) {
  ReadOptions read = read_options("S", "T", write_trace);
  read.line_file = kLineFile;
  read.train_file = kTrainFile;
  read.recover = recover;
  return read;
}

// A route of 20000 m (last cell 540, records up to 26900 m) with no track
// record; the train records follow its general heading from line 2 on.
constexpr char kShortLine[] = "[generale]\r\nlunghezza percorso, 20000\r\n[curve]\r\n[fine]\r\n";

std::string train(const std::string& records) { return "[generale]\r\n" + records + "[fine]\r\n"; }

ReadResult strict(const std::string& line, const std::string& train_text) {
  return read_sources(line, train_text, options(false));
}

ReadResult recovering(const std::string& line, const std::string& train_text) {
  return read_sources(line, train_text, options(true));
}

testing::ReaderError train_error(int32_t code, int line, int column, std::string detail) {
  return {code, kTrainFile, line, column, std::move(detail)};
}

std::vector<testing::ReaderError> errors_of(const ReadReport& report) {
  std::vector<testing::ReaderError> errors;
  for (const Diagnostic& d : report.diagnostics) {
    if (d.severity == Severity::kError) errors.push_back(recorded_error(d));
  }
  return errors;
}

std::vector<std::string> warnings_of(const ReadReport& report) {
  std::vector<std::string> names;
  for (const Diagnostic& d : report.diagnostics) {
    if (d.severity == Severity::kWarning) names.push_back(d.name + "@" + std::to_string(d.site.line));
  }
  return names;
}

// One reading, two kinds: the recovering one keeps the strict one's
// scenario and recorded error, and lists that error among its own.
void expect_agreement(const std::string& line, const std::string& train_text, const std::string& what) {
  for (const int32_t trace : {0, 1}) {
    const ReadResult a = read_sources(line, train_text, options(false, trace));
    const ReadResult b = read_sources(line, train_text, options(true, trace));
    ASSERT_TRUE(a.scenario == b.scenario) << what;
    ASSERT_EQ(recorded_error(a.report), recorded_error(b.report)) << what;
    if (!a.report.recorded) continue;
    const std::vector<testing::ReaderError> listed = errors_of(b.report);
    ASSERT_NE(std::find(listed.begin(), listed.end(), recorded_error(a.report)), listed.end())
        << what << ": " << recorded_error(a.report);
  }
}

TEST(ReadSources, TheBuiltInPairReadsWithoutADiagnostic) {
  const ReadResult read =
      recovering(table_text(line_source_table()), table_text(train_source_table()));
  EXPECT_FALSE(read.report.recorded);
  EXPECT_TRUE(read.report.diagnostics.empty());
  EXPECT_TRUE(read.report.train_reached);
  EXPECT_EQ(read.scenario.last_cell, 2480);
}

// A refused record is noted and the reading goes on with the next line;
// the strict reading stops at the first.
TEST(ReadSources, ARecoveringReadingGoesOnAfterARefusedRecord) {
  const std::string records = train(
      "abbattimento, 1500, 0\r\nabbattimento, 1500, 0\r\nvetture, 4\r\n"
      "segnale, 5000, 1, 3, 0, 0, 0, 0, 0,0,0, 0\r\nsegnale, 5000, 1, 3, 0, 0, 0, 0, 0,0,0, 0\r\n");
  const ReadResult once = strict(kShortLine, records);
  const ReadResult all = recovering(kShortLine, records);
  const testing::ReaderError first =
      train_error(kReductionCellTaken, 3, 15, "speed reduction point at 1500 m: cell 30 already holds a speed "
                                               "reduction point");
  EXPECT_EQ(recorded_error(once.report), first);
  EXPECT_EQ(errors_of(once.report), std::vector{first});
  EXPECT_EQ(errors_of(all.report),
            (std::vector{first, train_error(kSignalCellTaken, 6, 10, "signal at 5000 m: cell 101 already holds a signal")}));
  EXPECT_EQ(recorded_error(all.report), first);
  EXPECT_TRUE(once.scenario == all.scenario);
  EXPECT_EQ(once.scenario.entries[kTotalsRow].long3, 0);  // "vetture" was never reached
}

// A record cut short is blamed on its own line, and the reading goes on
// with the record that met it; one the source ends inside says so.
TEST(ReadSources, RecordsCutShortAreBlamedOnTheirLine) {
  const ReadResult read =
      recovering(kShortLine, "[generale]\r\nsegnale, 1500, 1\r\nvetture, 4\r\nsegnale, 2500, 1, 3\r\n");
  EXPECT_EQ(errors_of(read.report),
            (std::vector{train_error(kRunFailure, 2, 17,
                                     "the signal record on line 2 has 2 of its 11 numbers; line 3 begins the next "
                                     "record"),
                         train_error(kRunFailure, 4, 20,
                                     "the signal record on line 4 has 3 of its 11 numbers; the file ends after it")}));
  EXPECT_EQ(read.report.error_code(), kRunFailure);
  EXPECT_EQ(read.report.recorded->site.line, 2);
}

// Two comment tokens in a row are dropped; the third is read as a record,
// and warned of as a comment past the limit.
TEST(ReadSources, TheThirdCommentLineInARowIsReadAsARecord) {
  const ReadResult two = recovering(kShortLine, train("- uno\r\n- due\r\nvetture, 4\r\n"));
  EXPECT_TRUE(two.report.diagnostics.empty());
  EXPECT_EQ(two.scenario.entries[kTotalsRow].long3, 4);
  const ReadResult three = recovering(kShortLine, train("- uno\r\n- due\r\n- tre\r\nvetture, 4\r\n"));
  EXPECT_EQ(warnings_of(three.report), std::vector<std::string>{"comment-limit@4"});
  EXPECT_EQ(three.scenario.entries[kTotalsRow].long3, 4);
}

// After a 15 the strict reading's records end; a recovering reading reads
// the rest for their diagnostics alone, and the end of the source and the
// recorded error stay the strict reading's.
TEST(ReadSources, RecordsAfterAFifteenAreReadForTheirDiagnosticsAlone) {
  const std::string records = train(
      "velocita, 0, 100\r\nvelocita, 26950, 90\r\nvetture, 4\r\n"
      "abbattimento, 1500, 0\r\nabbattimento, 1500, 0\r\n");
  const ReadResult read = recovering(kShortLine, records);
  const ReadResult once = strict(kShortLine, records);
  EXPECT_EQ(read.report.error_code(), kPositionError);
  EXPECT_EQ(recorded_error(read.report), recorded_error(once.report));
  ASSERT_EQ(errors_of(read.report).size(), 2u);
  EXPECT_EQ(errors_of(read.report)[1].code, kReductionCellTaken);
  EXPECT_TRUE(read.scenario == once.scenario);
  EXPECT_EQ(read.scenario.entries[kTotalsRow].long3, 0);
  EXPECT_EQ(read.scenario.cells[30].kind, kNothing);
  EXPECT_EQ(read.scenario.cells[500].speed_limit, 20);  // the end fill ran on the strict scenario
}

// "FILE:LINE:COL detail" of each note of the first error.
std::vector<std::string> notes_of_first_error(const ReadReport& report) {
  std::vector<std::string> notes;
  for (const Diagnostic& d : report.diagnostics) {
    if (d.severity != Severity::kError) continue;
    for (const ErrorSite& note : d.notes) {
      notes.push_back(note.file + ":" + std::to_string(note.line) + ":" + std::to_string(note.column) + " " +
                      note.detail);
    }
    break;
  }
  return notes;
}

// An error names in notes the places it depends on: a position beyond the
// grid the row that set the route length (the last one, when there are
// two), a station too close the station before it.
TEST(ReadSources, AnErrorNotesThePlacesItDependsOn) {
  const struct {
    const char* what;
    std::string line;
    std::string train;
    std::vector<std::string> notes;
  } kCases[] = {
      {"position beyond the grid", kShortLine, train("velocita, 26950, 90\r\n"),
       {"S_linea.txt:2:21 the route length is set here to 20000 m"}},
      {"the second length row", "[generale]\r\nlunghezza percorso, 30000\r\nlunghezza percorso, 20000\r\n[fine]\r\n",
       train("velocita, 26950, 90\r\n"), {"S_linea.txt:3:21 the route length is set here to 20000 m"}},
      {"station too close", kShortLine,
       train("stazione,  5000, 12,  400,  0, 0, 0,  1,1,0,  4,1,1,   30,  11, 9, 0, PIEVE\r\n"
             "stazione,  5500, 12,  400,  0, 0, 0,  1,1,0,  4,1,1,   30,  11, 19, 0, BORGO\r\n"),
       {"S_T-.txt:2:12 the station before, PIEVE at 5000 m, ends at 5200 m: stations come in route order"}},
      {"signal on a station's stop mark", kShortLine,
       train("stazione,  5000, 12,  400,  0, 0, 0,  1,1,0,  4,1,1,   30,  11, 9, 0, PIEVE\r\n"
             "segnale, 5100, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n"),
       {"S_T-.txt:2:12 the station at 5000 m put it there"}},
      {"signal on a speed board of the line source",
       "[generale]\r\nlunghezza percorso, 20000\r\n[cartelli]\r\n"
       "indicatori_vmax, 4000, 100,100,100,0, 100,100,100,0\r\n[fine]\r\n",
       train("segnale, 4000, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n"), {"S_linea.txt:4:18 the speed board at 4000 m put it there"}},
      {"speed reduction point on another", kShortLine,
       train("abbattimento, 1500, 0\r\nabbattimento, 1500, 0\r\n"),
       {"S_T-.txt:2:15 the speed reduction point at 1500 m put it there"}},
      {"signal on a slowdown's warning board", kShortLine,
       train("rallentamento, 5000, 30, 400, 1, 1, 0\r\nsegnale, 3800, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n"),
       {"S_T-.txt:2:16 the slowdown at 5000 m put it there"}},
      {"signal on a slowdown's last pre-warning cell", kShortLine,
       train("rallentamento, 5000, 30, 400, 1, 1, 0\r\nsegnale, 3600, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0\r\n"),
       {"S_T-.txt:2:16 the slowdown at 5000 m put it there"}},
  };
  // The 81st tunnel finds the register full: a 15 that no route length causes.
  std::string tunnels;
  for (int i = 0; i <= 80; ++i) {
    tunnels += "montagna, " + std::to_string(i * 200) + ", " + std::to_string(i * 200 + 100) + ", 1\r\n";
  }
  const std::string full_register =
      "[generale]\r\nlunghezza percorso, 20000\r\n[montagne]\r\n" + tunnels + "[fine]\r\n";
  const ReadResult read = strict(full_register, train(""));
  ASSERT_EQ(read.report.error_code(), kPositionError);
  EXPECT_EQ(notes_of_first_error(read.report), std::vector<std::string>{}) << "a full tunnel register";
  for (const auto& c : kCases) {
    EXPECT_EQ(notes_of_first_error(recovering(c.line, c.train).report), c.notes) << c.what;
    EXPECT_EQ(notes_of_first_error(strict(c.line, c.train).report), c.notes) << c.what;
  }
}

// A fill value blamed on its record by every later record of its kind is
// listed once.
TEST(ReadSources, AFaultMetAgainIsListedOnce) {
  const ReadResult read = recovering(
      kShortLine, train("velocita, 0, -100\r\nvelocita, 1000, 100\r\nvelocita, 2000, 100\r\nvelocita, 3000, 100\r\n"));
  EXPECT_EQ(errors_of(read.report),
            std::vector{train_error(kRunFailure, 2, 14,
                                    "speed limit -100 km/h does not fit a cell: it may run from 0 to 1275 km/h")});
}

// Diagnostics come in source order: an error found at the end of the
// reading about a line of the line source stands among that source's.
TEST(ReadSources, DiagnosticsComeInSourceOrder) {
  const std::string line =
      "[generale]\r\nlunghezza percorso, 20000\r\nprogressiva chilometrica uno, 0, 1025, 0\r\n[curve]\r\n"
      "pendenza, 125, 1\r\n[fine]\r\n";
  const ReadResult read = recovering(line, train("velocita, 1525, 100\r\n"));
  ASSERT_EQ(read.report.diagnostics.size(), 3u);
  EXPECT_EQ(read.report.diagnostics[0].site.line, 3);  // error 2, found after the train source
  EXPECT_EQ(read.report.diagnostics[0].code, kUnevenProgressive);
  EXPECT_EQ(read.report.diagnostics[1].name, "moved-to-cell");
  EXPECT_EQ(read.report.diagnostics[1].site.file, kLineFile);
  EXPECT_EQ(read.report.diagnostics[2].name, "moved-to-cell");
  EXPECT_EQ(read.report.diagnostics[2].site.file, kTrainFile);
}

// However many records a source refuses, the log keeps a bounded number of
// them whole and counts the rest; the recorded error is always kept.
TEST(ReadSources, PastTheCapDiagnosticsAreOnlyCounted) {
  std::string records = "vetture, 40000\r\n";
  for (size_t i = 0; i < DiagnosticLog::kKept + 200; ++i) records += "sabbia\r\n";
  const ReadResult read = recovering(kShortLine, train(records + "sabbia"));
  const size_t errors = DiagnosticLog::kKept + 200;  // the last field of a source is never a record
  EXPECT_EQ(errors_of(read.report).size(), DiagnosticLog::kKept);
  EXPECT_EQ(read.report.unlisted_errors, errors - DiagnosticLog::kKept);
  EXPECT_EQ(read.report.error_code(), kRunFailure);
  EXPECT_EQ(errors_of(read.report).front(), recorded_error(read.report));
}

TEST(ReadSources, AMissingOrUnreadableSourceIsAnErrorOfTheFile) {
  const ReadResult missing = strict("", "");
  EXPECT_EQ(missing.report.error_code(), kRunFailure);  // an empty text is a source that reads past its end
  const ReadResult no_line =
      read_sources(SourceText::missing("the line source S_linea.txt does not exist"), train(""), options(true));
  EXPECT_EQ(recorded_error(no_line.report),
            (testing::ReaderError{kNoLineSource, kLineFile, 0, 0, "the line source S_linea.txt does not exist"}));
  EXPECT_FALSE(no_line.report.train_reached);
  const ReadResult no_train = read_sources(kShortLine, SourceText::unreadable("cannot read S_T-.txt"), options(false));
  EXPECT_EQ(recorded_error(no_train.report), (testing::ReaderError{kRunFailure, kTrainFile, 0, 0, "cannot read S_T-.txt"}));
  EXPECT_TRUE(no_train.report.train_reached);
}

// The one loop under both sources: a record handler's own failure is a
// refusal, any other exception a fault of the program that ends the reading
// at once, recovering or not.
TEST(ReadRecords, OnlyTheReadingsOwnFailureIsARefusal) {
  const std::string text = "uno\r\ndue\r\ntre\r\nquattro\r\n";
  for (const bool recover : {false, true}) {
    RouteModel model;
    ReaderContext context(recover);
    FieldReader reader(text, kTrainFile);
    const Flow flow = read_records(model, reader, context, Source::kTrain, kRecordComments, [](Record& record) {
      if (record.token.has("due")) throw RunFailure("a bad field");
      return Outcome{};
    });
    EXPECT_EQ(flow, recover ? Flow::kEnd : Flow::kStop);
    EXPECT_EQ(recorded_error(context.recorded), train_error(kRunFailure, 2, 1, "a bad field"));
    EXPECT_EQ(reader.at_end(), recover);

    FieldReader faulty(text, kTrainFile);
    ReaderContext faulty_context(recover);
    EXPECT_THROW(read_records(model, faulty, faulty_context, Source::kTrain, kRecordComments,
                              [](Record& record) -> Outcome {
                                if (record.token.has("due")) throw std::logic_error("a fault");
                                return {};
                              }),
                 std::logic_error);
    EXPECT_FALSE(faulty_context.recorded);
  }
}

TEST(ReadSourcesAgreement, OverTheKeptFuzzCorpus) {
  const std::vector<std::filesystem::path> inputs = testing::corpus_inputs(FUZZ_CORPUS_DIR);
  ASSERT_GT(inputs.size(), 100u);
  for (const auto& path : inputs) {
    std::ifstream in(path, std::ios::binary);
    const auto [line, train_text] = testing::corpus_sources({std::istreambuf_iterator<char>(in), {}});
    expect_agreement(line, train_text, path.filename().string());
  }
}

// The built-in sources with a few bytes changed, cut, copied or moved, as a
// careless edit would.
std::string mutated(std::string text, std::mt19937& random) {
  const auto at = [&](size_t size) { return std::uniform_int_distribution<size_t>(0, size - 1)(random); };
  static const std::string kBytes = "0123456789,- \r\n-\"[]";
  for (int edits = 1 + static_cast<int>(at(3)); edits > 0 && !text.empty(); --edits) {
    const size_t where = at(text.size());
    switch (at(4)) {
      case 0: text[where] = kBytes[at(kBytes.size())]; break;
      case 1: text.erase(where, 1 + at(40)); break;
      case 2: text.insert(where, text.substr(at(text.size()), 1 + at(60))); break;
      default: text.insert(where, 1, kBytes[at(kBytes.size())]); break;
    }
  }
  return text;
}

TEST(ReadSourcesAgreement, OverMutatedBuiltInSources) {
  const std::string line = table_text(line_source_table());
  const std::string train_text = table_text(train_source_table());
  std::mt19937 random(20261211);
  for (int i = 0; i < 300; ++i) {
    const bool in_line = i % 2 == 0;
    const std::string changed = mutated(in_line ? line : train_text, random);
    expect_agreement(in_line ? changed : line, in_line ? train_text : changed, "mutant " + std::to_string(i));
  }
}

}  // namespace
}  // namespace scenario
