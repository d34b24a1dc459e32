#include "tool/warning_catalogue.h"

#include <algorithm>
#include <array>

#include "tool/error_catalogue.h"

namespace scenario::tool {
namespace {

constexpr std::array kCatalogue = {
    WarningExplanation{
        "comment-limit",
        "A comment field past the limit of comments in a row is read as a record.",
        "Three comment lines in a row: among the line source's track records and in the train source the reading "
        "skips at most two comment fields in a row (ten in the line source's general section) and tests the next "
        "one as a keyword field. That is harmless unless the comment holds a keyword word; when it does, the record "
        "it starts takes the fields of the following lines for its numbers.",
        "Keep to two comment lines in a row, join them, or put an empty line between them: an empty line starts "
        "the count again.",
        "-- limiti di velocita\n-- tratta Dorvallo - Velsara\n-- velocita ridotte per lavori\n"
        "velocita,       0,    60"},
    WarningExplanation{
        "curve-keyword",
        "A curve keyword holds more than `curva`, its side letter and its class digit, and may not read as it says.",
        "A keyword written out (`curva destra 4`) or with a number run into it (`curvad1000`): a curve turns left "
        "whenever its field holds an `s` anywhere (`destra` has one), and takes its class from the first of the "
        "digits 1 to 6 that the field holds, looked for in that order (`curvad1000` is class 1).",
        "Write `curvas` and the class digit for a left curve, `curvad` and the class digit for a right one, and "
        "nothing else in the field.",
        "curva destra 4,  1000,  400"},
    WarningExplanation{
        "digit-group",
        "A number written with a thousands separator: the blank splits it into two numbers.",
        "`14 000` for 14000: a number ends at a blank, so the record reads 14 and then 000 as its next number, and "
        "the fields after it move up by one.",
        "Write numbers without separators: `14000`.",
        "velocita,  14 000,  100"},
    WarningExplanation{
        "displaced-object",
        "A station's stop mark replaces the object in its cell, which is lost.",
        "A station written after a signal, slowdown or speed reduction point that stands in the station's stop "
        "cell (the last cell of its extent), or a station whose stop cell holds a board of the line source. A stop "
        "mark is written whatever its cell holds.",
        "Write the stations before the other records of the train source: a signal, slowdown or point on a stop "
        "cell is then refused with its error number. Move the station or the board.",
        "segnale,    6050,   1, 3, 0,  0, 0,    0,  0,0,0, 0\n"
        "stazione,    6000, 21,  300,  0, 0, 0,  1,1,0,  4,1,1,   30,   8,27, 0, CASE SPARSE"},
    WarningExplanation{
        "empty-curve",
        "A curve of length 0 or less bends nothing.",
        "The length left at 0 or written with a minus sign: the second number of a curve is its length in metres, "
        "counted from its start.",
        "Write the curve's length, its end minus its start, in metres.",
        "curvad4,  1000,  0"},
    WarningExplanation{
        "extra-fields",
        "More fields follow a record on its line than it takes; they are ignored.",
        "A field too many (`velocita, 800, 100, 110`), or a decimal comma: `pendenza, 13000, -6,5` reads the "
        "gradient -6 and leaves 5 over. Numbers are whole.",
        "Give the record exactly its fields. A remark after a record goes in a comment field, one that holds a `-`.",
        "pendenza,  13000,   -6,5"},
    WarningExplanation{
        "fast-slowdown",
        "A slowdown allows more than the line speed where it starts: it slows nothing.",
        "The slowdown's speed mistyped, or the line speed there (the train's `velocita` records) lower than meant.",
        "Give the slowdown a speed below the line speed where it starts: the second number of `rallentamento`.",
        "velocita,       0,   100\nrallentamento,  4000,   150,   400,   1,   1,   0"},
    WarningExplanation{
        "fill-not-past",
        "A speed limit, adhesion or gradient record is not past the previous record of its kind.",
        "Records of one kind out of order, or two in one 50 m cell: each value holds from its record's cell up to "
        "the next record's, and a record whose cell is not after the previous one's writes the previous value to "
        "no further cell.",
        "Write speed limits, adhesion and gradients in ascending order of position, at most one per cell.",
        "velocita,    1000,   100\nvelocita,    1000,    90"},
    WarningExplanation{
        "foreign-comment",
        "A line beginning with `#`, `//` or `;` is read as a record.",
        "A comment written as other formats write one; here a comment is a field that holds a hyphen `-`.",
        "Begin the comment with `-` (`-- nota`), or delete the line.",
        "# tratta nuova"},
    WarningExplanation{
        "keyword-case",
        "A row of the line source's general section written with capitals is not read.",
        "`Progressiva Chilometrica Uno`: the words progressiva, uno, due, tre, sfondo, ripetizione and segnali are "
        "read in lower case only, so the row starts nothing and its values (the kilometre numbering, a background, "
        "the signal repetition) are lost.",
        "Write these words in lower case.",
        "Progressiva Chilometrica Uno,    0,    35000,    1"},
    WarningExplanation{
        "late-time",
        "A time of day lies outside 00:00:00 to 23:59:59.",
        "A start clock or scheduled time after midnight written as 24:10, or minutes where the hour goes.",
        "Write the hour from 0 to 23.",
        "orologio,    25              10            0"},
    WarningExplanation{
        "moved-to-cell",
        "A position is not on the 50 m cells: the object stands as if at the start of its cell.",
        "A position measured to the metre: the compiler places everything in cells of 50 m, rounding halves to the "
        "even neighbour.",
        "Write positions as multiples of 50 m.",
        "segnale,   10520,   1, 3, 0,  0, 0,    0,  0,0,0, 0"},
    WarningExplanation{
        "no-general-heading",
        "The train source has no `[generale]` heading: none of its records is read.",
        "The heading misspelt (`[generle]`) or left out: everything before `[generale]` is skipped.",
        "Put `[generale]` on a line of its own before the train's records.",
        "[generle]\nnumero vetture,    4"},
    WarningExplanation{
        "open-air-tunnel",
        "A tunnel is stored with kind 0, open air: it vanishes.",
        "A tunnel kind of 0, or one stored as 0 (266 stands for 256 with markers, whose low 8 bits are 0): kind 0 "
        "marks a cell as open air, so neither the "
        "simulator nor the drawing shows the tunnel, though it still counts among the 80 tunnels.",
        "Give the tunnel a kind from 1 to 10, or from 11 to 20 for tunnel markers.",
        "montagna,   3000,  3400,  0"},
    WarningExplanation{
        "out-of-range",
        "A value outside its field's range, stored altered.",
        "A number that its field holds only in part or changed: a value packed into a digit of a signal or speed "
        "board that carries into its neighbour, a minute or second of 60 or more that runs into the next hour or "
        "minute, and the like.",
        "Keep each value within the range its record gives in the handbook (docs/source-format.md).",
        "orologio,    10              75            30"},
    WarningExplanation{
        "overlapping-curves",
        "A curve begins before the previous curve ends: the overlap keeps the previous bend.",
        "Curves out of order, or a length too long for the gap to the next curve.",
        "Write curves in ascending order, each starting at or after the previous one's end (start + length).",
        "curvad4,  1000,  500\ncurvas4,  1200,  500"},
    WarningExplanation{
        "past-route-end",
        "An object is placed past the route's stated length, on the run-out.",
        "A position beyond `lunghezza percorso`, often a route length written too short: the grid runs 7000 m past "
        "the length, so the object is placed, but past the end of the route.",
        "Check the route length and the object's position.",
        "[generale]\nlunghezza percorso,    20000\n...\nsegnale,   22000,   1, 3, 0,  0, 0,    0,  0,0,0, 0"},
    WarningExplanation{
        "repeated-row",
        "A row of a general section is given again: the later one replaces the earlier.",
        "A row copied in from another scenario with the old one left in place: a second `lunghezza percorso`, "
        "`progressiva chilometrica uno`, `sfondo due`, `ripetizione segnali`, `numero vetture`, "
        "`percentuale massa frenata`, `orologio` or `sabbia`. Only the last is kept.",
        "Keep one of each row.",
        "lunghezza percorso,    117000\nlunghezza percorso,    12000"},
    WarningExplanation{
        "reserved-cell",
        "An object in cell 1 gets its first two values replaced by the compiler's marks.",
        "A signal, board or slowdown at about 0 m, or a speed reduction point at about 50 m, whose first two "
        "values are 0: the compiler writes its fixed mark and the competition code into cell 1 over them. (With "
        "either value set, it is error 1250 or 1251.)",
        "Place objects from 50 m on, speed reduction points from 100 m.",
        "segnale,       0,   1, 0, 0,  0, 0,    0,  0,0,0, 0"},
    WarningExplanation{
        "reversed-tunnel",
        "A tunnel ends before it begins: it covers no cell.",
        "Entrance and exit swapped, or the tunnel's length written where its exit goes.",
        "Write the entrance, then the exit (both positions from the origin), then the kind.",
        "montagna,   3000,  400,  2"},
    WarningExplanation{
        "speed-rounded",
        "A speed is stored in steps of 5 km/h.",
        "A speed limit that is not a multiple of 5 km/h: 93 km/h is stored as 95.",
        "Write speeds as multiples of 5 km/h.",
        "velocita,       0,    93"},
    WarningExplanation{
        "swapped-slowdown",
        "A slowdown's speed and length look swapped.",
        "The record reads start, speed, length: `rallentamento, 4000, 400, 30` is a slowdown at 400 km/h, 30 m "
        "long. Warned when the speed is above the line speed where the slowdown starts and the length would be a "
        "speed below it.",
        "Write the speed (km/h) second and the length (m) third.",
        "velocita,       0,   100\nrallentamento,  4000,   400,    30,   1,   1,   0"},
    WarningExplanation{
        "text-cut",
        "A text field, a board text or a station name, ends at a comma: the rest of the line is not part of it.",
        "A comma inside a name or a board text: `PIEVE, SALINA` stores `PIEVE`.",
        "Write a text that holds a comma in double quotes: `\"PIEVE, SALINA\"`.",
        "stazione,   14400, 21,  300,  0, 0, 0,  1,1,0,  4,1,1,   30,  11, 9, 0, PIEVE, SALINA"},
    WarningExplanation{
        "time-backwards",
        "A station is timed earlier than the station before it on the route.",
        "A slip in an hour or a minute, or times copied from the return train. A time of 00:00:00 is taken as no "
        "time (timing points carry none), and a time more than 12 hours earlier as the next day.",
        "Check the times: they run forward along the route.",
        "stazione,       0, 11,  600,  1, 0, 0,  4,1,0,  2,1,1,    1,  11,40, 0, DORVALLO\n"
        "stazione,   11000, 12,  400,  0, 0, 0,  1,1,0,  4,1,1,   30,  11, 4, 0, VALTORNE"},
    WarningExplanation{
        "unknown-record",
        "A line whose first field starts no record, and is no heading or comment, is skipped.",
        "A misspelt keyword (`segnlae`), or a word the source does not know.",
        "Correct the keyword. To keep a remark, make it a comment: put a `-` in it.",
        "segnlae,   20500,   1, 3, 0,  0, 0,    0,  0,0,0, 0"},
    WarningExplanation{
        "unread-last-field",
        "The last field of a source is skipped: the reading never tests it for a keyword.",
        "A record's keyword alone on the last line, its numbers missing, or a file that ends on a keyword without "
        "the closing heading. A complete record last is read in full; only a lone last field is lost.",
        "Complete the record, or end the file with a heading such as `[fine]`.",
        "segnale,   10500,   1, 3, 0,  0, 0,    0,  0,0,0, 0\nabbattimento"},
    WarningExplanation{
        "utf8-text",
        "A text holds bytes that read as UTF-8, but the source is Windows-1252.",
        "The source saved as UTF-8 by an editor: a degree sign or an accented letter reaches the simulator as two "
        "or three odd characters.",
        "Save the source in Windows-1252 (Western European).",
        "cartello_indicatore,  10150,   (SOTTOVIA           )(VIA V. EMANUELE II\u00B0)"},
    WarningExplanation{
        "wrong-section",
        "A record stands in a section or a source that does not read it, and is skipped.",
        "A track record such as `pendenza` inside the line source's general section (which runs up to the first "
        "heading after `[generale]`), a general row after it, or a record of the train source in the line source "
        "or the other way round.",
        "Move the record into the section the warning names.",
        "[generale]\nlunghezza percorso,    12000\npendenza,   2000,   5"},
};

EntryText text_of(const WarningExplanation& e) { return {e.meaning, e.cause, e.fix, e.example}; }

}  // namespace

std::span<const WarningExplanation> warning_catalogue() { return kCatalogue; }

const WarningExplanation* explain_warning(std::string_view name) {
  const auto found = std::find_if(kCatalogue.begin(), kCatalogue.end(),
                                  [name](const WarningExplanation& e) { return e.name == name; });
  return found == kCatalogue.end() ? nullptr : &*found;
}

std::string warning_text(const WarningExplanation& entry) {
  return entry_text("warning " + std::string(entry.name), text_of(entry));
}

std::string warning_catalogue_markdown() {
  std::string out =
      "\n# Warnings\n\n"
      "A warning names what the readers accept but drop, alter or most likely read otherwise than meant. It\n"
      "never changes what is read or stored, nor the exit status of `scenario compile`; `scenario check\n"
      "--strict` makes it an error. Each reads `PATH:LINE:COL: warning: message [name]`, and\n"
      "`scenario explain NAME` prints the same as below for one name.\n";
  for (const WarningExplanation& entry : kCatalogue) out += markdown_entry(std::string(entry.name), text_of(entry));
  return out;
}

}  // namespace scenario::tool
