#include "tool/error_catalogue.h"

#include <algorithm>
#include <array>

#include "model/error_codes.h"

namespace scenario::tool {
namespace {

// Keyed by the names of the one list of error numbers, in ascending order of
// the numbers an author sees in a diagnostic.
constexpr std::array kCatalogue = {
    ErrorExplanation{
        kRouteTooLong, "The route length is above 1,000,000 m.",
        "A `lunghezza percorso` row with a digit too many, or a length written in decimetres.",
        "Write the route length in metres, at most 1000000.",
        "[generale]\nlunghezza percorso,  1200000"},
    ErrorExplanation{
        kUnevenProgressive, "A kilometric progressive system's start or offset is not a multiple of 50 m.",
        "A kilometre reading copied from a timetable with its last metres (km 35.020). The error is found "
        "after the train source has been read and reported on the row that holds it.",
        "Round every start and offset of the `progressiva chilometrica` rows to a multiple of 50 m.",
        "progressiva chilometrica uno,    0,    35020,    1"},
    ErrorExplanation{
        kFirstRepetitionOffGrid, "The first signal-repetition position is not a multiple of 50 m.",
        "A `ripetizione segnali` row whose first position was measured to the metre.",
        "Round the first position to a multiple of 50 m.",
        "ripetizione segnali 4 codici,    1520,    0"},
    ErrorExplanation{
        kSecondRepetitionOffGrid, "The second signal-repetition position is not a multiple of 50 m.",
        "A `ripetizione segnali` row whose second position was measured to the metre.",
        "Round the second position to a multiple of 50 m (0 switches the repetition off).",
        "ripetizione segnali 4 codici,    0,    2010"},
    ErrorExplanation{
        kNoCodeCount, "The signal-repetition keyword names neither 4 nor 9 codes.",
        "The number of codes left out of the keyword field, or written as a word.",
        "Put `4` or `9` in the keyword field: `ripetizione segnali 4 codici` or `ripetizione segnali 9 codici`.",
        "ripetizione segnali quattro codici,    0,    0"},
    ErrorExplanation{
        kTextBoardTaken, "An indication board's cell already holds something.",
        "Two `cartello_indicatore` records in one 50 m cell, or a board where a speed board stands (a board at p "
        "takes cell p / 50 + 1).",
        "Move one of the boards to another cell, 50 m or more away.",
        "cartello_indicatore,  2950,   (GALLERIA)(NORD)\ncartello_indicatore,  2960,   (SOTTOVIA)(VIA ROMA)"},
    ErrorExplanation{
        kReductionCellTaken, "A speed reduction point's cell already holds something.",
        "An `abbattimento` at the position of an object that stands 50 m before it: a point at p takes cell p / 50, "
        "a signal at p - 50 takes the same cell.",
        "Move the point at least 50 m away from the signal, board or slowdown cell in its way.",
        "segnale,    8850,   1, 3, 0,  0, 0,    0,  0,0,0, 0\nabbattimento,  8900,   80"},
    ErrorExplanation{
        kStationOffGrid, "A station's position is not a multiple of 50 m.",
        "A station placed to the metre, such as the middle of a platform measured on a map.",
        "Round the station's position to a multiple of 50 m.",
        "stazione,   14425, 21,  300,  0, 0, 0,  1,1,0,  4,1,1,   30,  11, 9, 0, PIEVE"},
    ErrorExplanation{
        kStationLengthUneven, "A station's length is not a multiple of 100 m.",
        "A platform length copied as it is (250 m).",
        "Round the station's length to a multiple of 100 m.",
        "stazione,   14400, 21,  250,  0, 0, 0,  1,1,0,  4,1,1,   30,  11, 9, 0, PIEVE"},
    ErrorExplanation{
        kTooManyStations, "Too many stations for the rows the indication boards leave.",
        "Stations and indication-board texts share 78 rows of the scenario's table: many boards in the line "
        "source leave room for fewer stations (48 with the built-in route's 30 boards).",
        "Drop indication boards from the line source or stations from the train source, so that together they "
        "number 78 at most.",
        "cartello_indicatore, ... (30 boards)\nstazione, ... (the 49th station)"},
    ErrorExplanation{
        kPositionError, "A record lies beyond the route's tables.",
        "A position past the track margin (p + 100 must stay within the route length + 7000 m; p + 800 for a "
        "station), a curve, tunnel or slowdown reaching past the end of the grid, an 81st tunnel or indication "
        "board, or an object before the route's origin. Often a route length written too short.",
        "Check the route length in `lunghezza percorso` and the record's position; keep curves, tunnels and "
        "slowdowns inside the route, and at most 80 tunnels and 80 boards.",
        "[generale]\nlunghezza percorso,  12000\n...\nsegnale,   19500,   1, 3, 0,  0, 0,    0,  0,0,0, 0"},
    ErrorExplanation{
        kSignalCellTaken, "A signal's cell already holds something.",
        "Two signals in one 50 m cell (a signal at p takes cell p / 50 + 1: 1525 and 1575 both take cell 32), or a "
        "signal on a station's stop mark, a board or a slowdown cell.",
        "Move the signal 50 m or more away from what stands in its cell; write signals after the stations only "
        "where they do not meet a stop mark.",
        "segnale,   11100,   1, 3, 0,  0, 0,    0,  0,0,0, 0   (cell 223, the stop mark of a station)"},
    ErrorExplanation{
        kWarningCellTaken, "A slowdown's warning-board cell already holds something.",
        "The warning board stands 1200 m before the slowdown's start, in cell (x - 1200) / 50 + 1; a signal or "
        "board stands there.",
        "Move the slowdown's start, or the object 1200 m before it, by 50 m or more.",
        "segnale,    2800,   1, 3, 0,  0, 0,    0,  0,0,0, 0\nrallentamento,  4000,   30,   400,   1,   1,   0"},
    ErrorExplanation{
        kStartCellTaken, "A slowdown's start cell already holds something.",
        "The slowdown starts where a signal, board or other slowdown cell stands (cell x / 50 + 1).",
        "Move the slowdown's start by 50 m or more.",
        "segnale,    4000,   1, 3, 0,  0, 0,    0,  0,0,0, 0\nrallentamento,  4000,   30,   400,   1,   1,   0"},
    ErrorExplanation{
        kEndCellTaken, "A slowdown's end cell already holds something, or does not lie after its start.",
        "A signal or board where the slowdown ends (cell (x + l) / 50 + 1), or a length too short for the end "
        "cell to round past the start cell (below 26 m always; up to 50 m when the start falls on a half cell).",
        "Change the slowdown's length so that it ends 50 m or more away from the object, and make it 51 m long "
        "or more.",
        "segnale,    4400,   1, 3, 0,  0, 0,    0,  0,0,0, 0\nrallentamento,  4000,   30,   400,   1,   1,   0"},
    ErrorExplanation{
        kPreWarningCellTaken, "One of a slowdown's four pre-warning cells already holds something.",
        "With f_ta not 0, the four cells just before the warning board (1200 m before the start) must be free; a "
        "signal or station stop mark stands in one of them. The board, start and end are already placed.",
        "Move the slowdown, or the object in the 200 m before its warning board, or write f_ta as 0.",
        "segnale,    2650,   1, 3, 0,  0, 0,    0,  0,0,0, 0\nrallentamento,  4000,   30,   400,   1,   1,   0"},
    ErrorExplanation{
        kSpeedBoardTaken, "A speed board's cell already holds something.",
        "Two `indicatori_vmax` records in one 50 m cell (a board at p takes cell p / 50 + 1: 7700 and 7720 both "
        "take cell 155), or a speed board where an indication board stands.",
        "Move one of the boards 50 m or more away.",
        "indicatori_vmax,  7700,  100,  100,  110,  2,  100,  100,  110,  2\n"
        "indicatori_vmax,  7720,  100,  100,  110,  1,  100,  100,  110,  1"},
    ErrorExplanation{
        kStationsTooClose, "A station begins less than 350 m after the previous one ends.",
        "Stations out of route order, or two stations whose extents (the position +/- half the length) lie closer "
        "than 350 m.",
        "Write the stations in route order and keep 350 m between one extent's end and the next one's start: "
        "shorten a station or move it.",
        "stazione,   6000, 21,  300, ...  (extent 5850 to 6150)\n"
        "stazione,   6600, 21,  300, ...  (extent 6450 to 6750: 300 m after)"},
    ErrorExplanation{
        kStopCellUnusable, "A station's stop mark would fall in cell 0 or 1, or on a slowdown's end.",
        "A station at the origin with an extent ending at 100 m or less (`stazione, 0, 11, 200`), or a station "
        "whose last cell is a slowdown's end cell.",
        "Lengthen the first station (a station at 0 needs a length above 200 m), or move the slowdown's end.",
        "stazione,       0, 11,  200,  1, 0, 0,  4,1,0,  2,1,1,    1,  10,57, 0, DORVALLO"},
    ErrorExplanation{
        kRunFailure, "A field cannot be read.",
        "A number expected and something else found (a letter, `12.5`), a number too large for its field (a "
        "gradient above 155, a speed above 1277 km/h), a record cut short by the next record or the end of the "
        "file, an unclosed quote, a line source without `lunghezza percorso`, an empty line source, a missing or "
        "empty train source, or a source that cannot be read: not a regular file (a FIFO, a device, a directory), "
        "larger than 8 MiB, or refused by the system (no permission, a loop of symbolic links); the message gives "
        "the reason. A speed limit, adhesion or gradient is written into the cells only when the next record of its "
        "kind arrives: the message still names the record that holds it.",
        "Look at the field the caret points at: write a whole number in its range, close the quote, complete the "
        "record; give the line source its route length row and the train its source.",
        "pendenza,  1350,   -3.5"},
    ErrorExplanation{
        kNoLineSource, "The line source does not exist.",
        "A scenario name that does not match the file's name (`SCENARIO_linea.txt` in the directory given with "
        "--dir), or the file not yet exported.",
        "Check the scenario name and the directory; `scenario export --dir DIR --name SCENARIO` writes a "
        "starting point.",
        "scenario compile --dir out Borgo_Lago 2901   (no out/Borgo_Lago_linea.txt)"},
    ErrorExplanation{
        kNoGeneralHeading, "The line source has no `[generale]` section.",
        "A file in another format, or the heading misspelt (`[general]`). An empty line source is error 25: "
        "the file is empty.",
        "Begin the line source with the `[generale]` heading and its rows.",
        "[general]\nlunghezza percorso,  12000"},
    ErrorExplanation{
        kTraceError, "A curve without a class digit, or a plan too long.",
        "A curve keyword without one of the digits 1 to 6 (`curvad`), or a route of more than 993,001 m compiled "
        "with the plan of the line.",
        "Write the curve's class 1 to 6 in its keyword (`curvad4`), or shorten the route, or compile with "
        "--no-trace.",
        "curvad,   2000,   800"},
    ErrorExplanation{
        kMarkTaken, "An object stands in the reserved cell 1: its first parameter is taken.",
        "A signal, board or slowdown cell written at about 0 m (from -25 to 25 m: these take cell p / 50 + 1), or "
        "a speed reduction point from 25 to 75 m (it takes cell p / 50). Cell 1 carries a fixed mark of the file. "
        "The message names the record that put the object there, and comes after the sources' own errors.",
        "Move the object to 50 m or beyond (a speed reduction point to 100 m or beyond).",
        "indicatori_vmax,  0,  100,  100,  100,  0,  100,  100,  100,  0"},
    ErrorExplanation{
        kCodeTaken, "An object stands in the reserved cell 1: its second parameter is taken.",
        "An object in cell 1 whose first parameter is 0 but whose second is not, such as a signal at about 0 m "
        "with s1 and d1 0 but s2 set. Cell 1 carries the scenario's competition code there.",
        "Move the object to 50 m or beyond.",
        "segnale,       0,   1, 0, 5,  0, 0,    0,  0,0,0, 0"},
};

// Each line of an example indented, as a code block is in Markdown, the last
// ended with a line end.
std::string indented(std::string_view text, std::string_view indent) {
  std::string out(indent);
  for (const char c : text) {
    out += c;
    if (c == '\n') out += indent;
  }
  return out + "\n";
}

EntryText text_of(const ErrorExplanation& e) { return {e.meaning, e.cause, e.fix, e.example}; }

}  // namespace

std::string entry_text(const std::string& title, const EntryText& entry) {
  return title + ": " + std::string(entry.meaning) + "\n\ncause: " + std::string(entry.cause) +
         "\nfix:   " + std::string(entry.fix) + "\n\nexample:\n" + indented(entry.example, "    ");
}

std::string markdown_entry(const std::string& heading, const EntryText& entry) {
  return "\n## " + heading + "\n\n" + std::string(entry.meaning) + "\n\n- **Cause:** " + std::string(entry.cause) +
         "\n- **Fix:** " + std::string(entry.fix) + "\n\n```text\n" + std::string(entry.example) + "\n```\n";
}

std::span<const ErrorExplanation> error_catalogue() { return kCatalogue; }

const ErrorExplanation* explain_error(int32_t number) {
  const auto found = std::find_if(kCatalogue.begin(), kCatalogue.end(),
                                  [number](const ErrorExplanation& e) { return e.number == number; });
  return found == kCatalogue.end() ? nullptr : &*found;
}

std::string explanation_text(const ErrorExplanation& entry) {
  return entry_text("error " + std::to_string(entry.number), text_of(entry));
}

std::string error_catalogue_markdown() {
  std::string out =
      "# Error numbers\n\n"
      "Every error number `scenario compile` (and the scenario package) can report, what it means, how an\n"
      "author typically gets it and how to fix it. `scenario explain N` prints the same for one number.\n"
      "The warnings follow the numbers ([Warnings](#warnings)).\n"
      "This file is generated: `scenario explain --markdown > docs/errors.md`; a test checks that it\n"
      "matches. The records themselves are described in [source-format.md](source-format.md).\n";
  for (const ErrorExplanation& entry : kCatalogue) {
    out += markdown_entry("Error " + std::to_string(entry.number), text_of(entry));
  }
  return out;
}

}  // namespace scenario::tool
