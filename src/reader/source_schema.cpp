#include "reader/source_schema.h"

#include <array>
#include <stdexcept>
#include <string>

#include "model/error_codes.h"
#include "model/windows1252.h"

namespace scenario {
namespace {

constexpr std::string_view kOutOfRange = "out-of-range";
constexpr std::string_view kLateTime = "late-time";

constexpr Outside kError25 = refused_with(kRunFailure);
constexpr Outside kError15 = refused_with(kPositionError);
constexpr Outside kWarned = warned_as(kOutOfRange);

// A value the format gives no meaning: every 32-bit number is stored as read.
constexpr SchemaField value_for_simulator(std::string_view name, std::string_view unit, std::string_view meaning,
                                          std::string_view stored) {
  return {.name = name, .unit = unit, .meaning = meaning, .stored = stored};
}

// A byte or a 16-bit number of a station row, stored as read.
constexpr SchemaField station_setting(std::string_view name, Width width, std::string_view meaning,
                                      std::string_view stored) {
  const bool byte = width == Width::kUint8;
  return {.name = name,
          .width = width,
          .lowest = {byte ? 0 : kInt16Lowest, kError25},
          .highest = {byte ? 255 : kInt16Highest, kError25},
          .meaning = meaning,
          .stored = stored};
}

// A minute or second: 60 or more is carried into the minute or hour above.
constexpr SchemaField sixty(std::string_view name, std::string_view unit, Width width, std::string_view meaning,
                            std::string_view stored) {
  return {.name = name,
          .unit = unit,
          .width = width,
          .lowest = {0, kWarned},
          .highest = {59, kWarned},
          .meaning = meaning,
          .stored = stored};
}

// ---- Line source, general section -------------------------------------------

constexpr std::array kLengthForms = {KeywordForm{"lunghezza", "percorso", LetterCase::kAny}};
constexpr std::array kLengthFields = {
    SchemaField{.name = "L",
                .unit = "m",
                .lowest = {-6974, refused_with(kMarkTaken)},
                .highest = {993001, refused_with(kTraceError)},
                .meaning = "the route length; the grid of 50 m cells runs 7000 m past it. Without the plan of the "
                           "line (--no-trace) up to 1000000 (error 1); below −6974 the grid has no cell 1 (error "
                           "1250, then 25)",
                .stored = "row 84 long2, as read"},
};

constexpr std::array kProgressiveForms = {KeywordForm{"progressiva", "uno", LetterCase::kLowerOnly},
                                          KeywordForm{"progressiva", "due", LetterCase::kLowerOnly},
                                          KeywordForm{"progressiva", "tre", LetterCase::kLowerOnly}};
constexpr std::array kProgressiveFields = {
    SchemaField{.name = "start",
                .unit = "m",
                .multiple_of = 50,
                .off_multiple_error = kUnevenProgressive,
                .meaning = "the route position from which the numbering applies",
                .stored = "long1 of rows 81 to 83, ordered by start"},
    SchemaField{.name = "offset",
                .unit = "m",
                .multiple_of = 50,
                .off_multiple_error = kUnevenProgressive,
                .meaning = "the kilometre reading is p + offset (growing) or offset − p (falling)",
                .stored = "long2; a falling system's 100 higher, which must fit 32 bits (error 25)"},
    SchemaField{.name = "direction",
                .lowest = {0, kStoredAsRead},
                .highest = {1, kStoredAsRead},
                .meaning = "0 growing, 1 falling; other values carry no numbering",
                .stored = "long3, as read"},
};

constexpr std::array kBackgroundForms = {KeywordForm{"sfondo", "uno", LetterCase::kLowerOnly},
                                         KeywordForm{"sfondo", "due", LetterCase::kLowerOnly},
                                         KeywordForm{"sfondo", "tre", LetterCase::kLowerOnly}};
constexpr std::array kBackgroundFields = {
    value_for_simulator("value", "", "the simulator's scenery; the built-in route has 1, 70000 and 94000",
                        "row 85: uno in long1, tre in long2, due in long3"),
};

constexpr std::array kRepetitionForms = {KeywordForm{"ripetizione", "segnali", LetterCase::kLowerOnly}};
constexpr std::array kRepetitionFields = {
    SchemaField{.name = "first",
                .unit = "m",
                .multiple_of = 50,
                .off_multiple_error = kFirstRepetitionOffGrid,
                .meaning = "where cab signalling begins",
                .stored = "row 86 long1"},
    SchemaField{.name = "second",
                .unit = "m",
                .multiple_of = 50,
                .off_multiple_error = kSecondRepetitionOffGrid,
                .meaning = "where it ends; 0 switches it off (no codes)",
                .stored = "row 86 long2; the code count in long3"},
};

// ---- Line source, track records ---------------------------------------------

constexpr std::array kGradientForms = {KeywordForm{"pendenza", "", LetterCase::kAny}};
constexpr std::array kGradientFields = {
    SchemaField{.name = "position",
                .unit = "m",
                .grid_end = GridEnd::kTrackMargin,
                .meaning = "the gradient holds from cell position / 50 on",
                .stored = "fills the cells' gradient up to the next record"},
    SchemaField{.name = "gradient",
                .unit = "‰",
                .lowest = {-100, kError25},
                .highest = {155, kError25},
                .meaning = "positive rises in the direction of travel",
                .stored = "each cell's gradient byte, per mille + 100"},
};

constexpr std::array kCurveForms = {KeywordForm{"curva", "", LetterCase::kAny}};
constexpr std::array kCurveFields = {
    SchemaField{.name = "start",
                .unit = "m",
                .grid_end = GridEnd::kTrackMargin,
                .meaning = "the last straight metre; the bend begins at start + 1",
                .stored = "bends the plan of the line only"},
    SchemaField{.name = "length",
                .unit = "m",
                .grid_end = GridEnd::kCurveEnd,
                .meaning = "the metres that bend; the curve keeps the direction it reaches",
                .stored = "bends the plan of the line only"},
};

constexpr std::array kTunnelForms = {KeywordForm{"montagna", "", LetterCase::kAny}};
constexpr std::array kTunnelFields = {
    SchemaField{.name = "inizio",
                .unit = "m",
                .lowest = {-25, kError25},
                .grid_end = GridEnd::kTrackMargin,
                .meaning = "the entrance; the tunnel covers cells inizio / 50 to fine / 50 − 1 (below −25 m, "
                           "error 25 when it covers a cell)",
                .stored = "the cells' tunnel byte"},
    SchemaField{.name = "fine",
                .unit = "m",
                .grid_end = GridEnd::kTunnelEnd,
                .meaning = "the exit; a tunnel that does not end after it begins covers no cell",
                .stored = "the tunnel register, for the close-succession rule"},
    SchemaField{.name = "tipo",
                .lowest = {0, kWarned},
                .highest = {265, kWarned},
                .meaning = "the tunnel's kind, 1 to 10 as the simulator knows it; above 10 it stands for tipo − 10 "
                           "and asks for a marker in every fourth cell; 150 m or less after the previous exit, 3",
                .stored = "the cells' tunnel byte: tipo, or tipo − 10 above 10, low 8 bits"},
};

constexpr std::array kSpeedBoardForms = {KeywordForm{"indicatori_v", "", LetterCase::kAny}};
constexpr SchemaField s_speed(std::string_view name, std::string_view stored) {
  return {.name = name,
          .unit = "km/h",
          .lowest = {0, kWarned},
          .highest = {1633, kError25},
          .meaning = "a speed of the s side, in steps of 5 km/h",
          .stored = stored};
}
constexpr SchemaField d_speed(std::string_view name, std::string_view stored) {
  return {.name = name,
          .unit = "km/h",
          .lowest = {0, kWarned},
          .highest = {495, kWarned},
          .meaning = "the same speed of the d side, in steps of 5 km/h",
          .stored = stored};
}
constexpr std::array kSpeedBoardFields = {
    SchemaField{.name = "posizione",
                .unit = "m",
                .lowest = {-75, kError25},
                .grid_end = GridEnd::kTrackMargin,
                .meaning = "the board stands in cell posizione / 50 + 1",
                .stored = "the cell's kind 6"},
    s_speed("vas", "p1 = vas × 20 + vad / 5, rounded; 16 bits (error 25 beyond)"),
    s_speed("vbs", "p2 = vbs × 20 + vbd / 5, rounded; 16 bits (error 25 beyond)"),
    s_speed("vcs", "p3 = vcs × 20 + vcd / 5, rounded; 16 bits (error 25 beyond)"),
    SchemaField{.name = "strisces",
                .lowest = {0, kWarned},
                .highest = {3275, kError25},
                .meaning = "the stripe count of the s side: 0 where a speed applies, 1 and 2 ahead of it",
                .stored = "p4 = strisces × 10 + strisced, 16 bits (error 25 beyond)"},
    d_speed("vad", "in p1, the two digits below the hundreds"),
    d_speed("vbd", "in p2, the two digits below the hundreds"),
    d_speed("vcd", "in p3, the two digits below the hundreds"),
    SchemaField{.name = "strisced",
                .lowest = {0, kWarned},
                .highest = {9, kWarned},
                .meaning = "the stripe count of the d side",
                .stored = "in p4, the last digit"},
};

constexpr std::array kTextBoardForms = {KeywordForm{"cartello", "indicat", LetterCase::kAny}};
constexpr std::array kTextBoardFields = {
    SchemaField{.name = "posizione",
                .unit = "m",
                .lowest = {-75, kError25},
                .grid_end = GridEnd::kTrackMargin,
                .meaning = "the board stands in cell posizione / 50 + 1",
                .stored = "the cell's kind 14, with the text's row in p1"},
    SchemaField{.name = "text",
                .width = Width::kText,
                .lowest = {0, kStoredAsRead},
                .highest = {32767, kStoredAsRead},
                .meaning = "the board's lines, each in parentheses; in double quotes when it holds a comma",
                .stored = "the text of rows 80, 79, 78 … as read (at most 32767 bytes)"},
};

// ---- Train source ---------------------------------------------------------------

constexpr std::array kBrakedMassForms = {KeywordForm{"frenata", "massa", LetterCase::kAny}};
constexpr std::array kBrakedMassFields = {
    value_for_simulator("percentage", "%", "the train's braked-mass percentage", "row 84 long1"),
};

constexpr std::array kCoachesForms = {KeywordForm{"vetture", "", LetterCase::kAny}};
constexpr std::array kCoachesFields = {
    value_for_simulator("coaches", "", "the number of coaches", "row 84 long3"),
};

constexpr SchemaField fill_position(std::string_view what) {
  return {.name = "position", .unit = "m", .grid_end = GridEnd::kTrackMargin, .meaning = what,
          .stored = "fills the cells up to the next record of its kind"};
}

constexpr std::array kSpeedLimitForms = {KeywordForm{"velocit", "", LetterCase::kAny}};
constexpr std::array kSpeedLimitFields = {
    fill_position("the limit holds from cell position / 50 on"),
    SchemaField{.name = "speed",
                .unit = "km/h",
                .lowest = {-2, kError25},
                .highest = {1277, kError25},
                .meaning = "the line speed limit",
                .stored = "each cell's speed byte, in steps of 5 km/h rounded (−2 to 2 give 0, 1273 to 1277 give "
                          "1275)"},
};

constexpr std::array kAdhesionForms = {KeywordForm{"aderenza", "", LetterCase::kAny}};
constexpr std::array kAdhesionFields = {
    fill_position("the value holds from cell position / 50 on"),
    SchemaField{.name = "adhesion",
                .lowest = {0, kError25},
                .highest = {255, kError25},
                .meaning = "the rail adhesion; the built-in train has 100",
                .stored = "each cell's adhesion byte, as read"},
};

constexpr std::array kClockForms = {KeywordForm{"orologio", "", LetterCase::kAny}};
constexpr std::array kClockFields = {
    SchemaField{.name = "hour",
                .unit = "h",
                .width = Width::kInt16,
                .lowest = {0, warned_as(kLateTime)},
                .highest = {23, warned_as(kLateTime)},
                .meaning = "the hour the run starts at",
                .stored = "row 86 short3"},
    sixty("minute", "min", Width::kInt16, "the minute; 60 or more runs into the next hour", "row 86 short4"),
    sixty("second", "s", Width::kInt16, "the second; 60 or more runs into the next minute", "row 86 short5"),
};

constexpr std::array kSandForms = {KeywordForm{"sabbia", "", LetterCase::kAny}};
constexpr std::array kSandFields = {
    SchemaField{.name = "sand",
                .width = Width::kInt16,
                .lowest = {kInt16Lowest, kError25},
                .highest = {kInt16Highest, kError25},
                .meaning = "the sand value; the built-in train has 0",
                .stored = "row 86 short1"},
};

constexpr std::array kSignalForms = {KeywordForm{"segnale", "", LetterCase::kAny}};
constexpr SchemaField signal_value(std::string_view name, int64_t highest, std::string_view meaning,
                                   std::string_view stored) {
  return {.name = name,
          .lowest = {0, kWarned},
          .highest = {highest, kWarned},
          .meaning = meaning,
          .stored = stored};
}
constexpr std::array kSignalFields = {
    SchemaField{.name = "posizione",
                .unit = "m",
                .lowest = {-75, kError15},
                .grid_end = GridEnd::kTrackMargin,
                .meaning = "the signal stands in cell posizione / 50 + 1; approach marks 100 to 400 m before it",
                .stored = "the cell's kind 1"},
    signal_value("sx", 2, "code of the s group; with 2 tempo is kept",
                 "p4 = rapp × 10 + sx × 3 + dx, low 16 bits; approach codes (sx × 3 + dx) × 10 + 1 to 4"),
    signal_value("s1", 3275, "the s group's first value", "p1 = s1 × 10 + d1, low 16 bits"),
    signal_value("s2", 3275, "the s group's second value", "p2 = s2 × 10 + d2, low 16 bits"),
    signal_value("s3", 3275, "the s group's third value", "p3 = s3 × 10 + d3, low 16 bits"),
    signal_value("rapp", 3275, "stored beside the group codes", "in p4, the digits above the last"),
    signal_value("dx", 2, "code of the d group", "in p4 and the approach codes, with sx"),
    signal_value("d1", 9, "the d group's first value", "in p1, the last digit"),
    signal_value("d2", 9, "the d group's second value", "in p2, the last digit"),
    signal_value("d3", 9, "the d group's third value", "in p3, the last digit"),
    signal_value("tempo", 255, "a time value, kept when sx is 2; 1 to 100 are stored as 101",
                 "the cell's timer byte, low 8 bits"),
};

constexpr std::array kSlowdownForms = {KeywordForm{"rallentamento", "", LetterCase::kAny}};
constexpr SchemaField slowdown_value(std::string_view name, std::string_view unit, std::string_view meaning,
                                     std::string_view stored) {
  return {.name = name,
          .unit = unit,
          .lowest = {kInt16Lowest, kWarned},
          .highest = {kInt16Highest, kWarned},
          .meaning = meaning,
          .stored = stored};
}
constexpr std::array kSlowdownFields = {
    SchemaField{.name = "x",
                .unit = "m",
                .lowest = {-75, kError15},
                .grid_end = GridEnd::kTrackMargin,
                .meaning = "the start: cell x / 50 + 1; above 1500, a warning board 1200 m before it",
                .stored = "the cells' kinds 3 (start), 4 (warning board), 5 (pre-warning)"},
    slowdown_value("v", "km/h", "the restriction's speed", "p1 of the start, end and warning-board cells, low 16 bits"),
    SchemaField{.name = "l",
                .unit = "m",
                .lowest = {26, refused_with(kEndCellTaken)},
                .grid_end = GridEnd::kSlowdownEnd,
                .meaning = "the length: the end cell (x + l) / 50 + 1 must lie past the start cell; 51 m or more "
                           "always does, 26 m from a start on the cells (25 m may round onto it)",
                .stored = "the end cell's kind 2"},
    slowdown_value("f_tt", "", "a setting for the simulator", "p3 of the start and end cells, low 16 bits"),
    value_for_simulator("f_ta", "", "not 0: four pre-warning cells before the warning board", "not stored"),
    slowdown_value("d_v", "", "not 0: a setting for the simulator; the pre-warning cells then repeat their number",
                   "p2 of the board, start and end cells when not 0, low 16 bits"),
};

constexpr std::array kReductionForms = {KeywordForm{"abbattimento", "", LetterCase::kAny}};
constexpr std::array kReductionFields = {
    SchemaField{.name = "position",
                .unit = "m",
                .lowest = {-25, kError15},
                .grid_end = GridEnd::kTrackMargin,
                .meaning = "the point stands in cell position / 50",
                .stored = "the cell's kind: 12 with a value, 13 without"},
    SchemaField{.name = "value",
                .unit = "km/h",
                .highest = {kInt16Highest, kError25},
                .meaning = "the speed value; 0 or less makes a point without one",
                .stored = "the cell's p1, when 1 or more"},
};

constexpr std::array kStationForms = {KeywordForm{"stazione", "", LetterCase::kAny}};
constexpr std::array kStationFields = {
    SchemaField{.name = "position",
                .unit = "m",
                .grid_end = GridEnd::kStationMargin,
                .multiple_of = 50,
                .off_multiple_error = kStationOffGrid,
                .meaning = "the station's place; the stop mark, in the last cell of its extent, must not fall in "
                           "cell 0 or 1 (error 24)",
                .stored = "long3 of the station's row"},
    station_setting("kind", Width::kUint8,
                    "5, 6: extent P − L to P + 150, no approach marks; 7, 8: P − L to P + L; 25 and above: a timing "
                    "point, no marks; others: P − L/2 to P + L/2",
                    "kind"),
    SchemaField{.name = "length",
                .unit = "m",
                .multiple_of = 100,
                .off_multiple_error = kStationLengthUneven,
                .meaning = "sets the extent",
                .stored = "long1 and long2, the extent"},
    station_setting("value 4", Width::kUint8, "for the simulator", "flag"),
    station_setting("value 5", Width::kUint8, "for the simulator", "byte4; 0 when L is below 600 and for the first station"),
    station_setting("end extension", Width::kUint8,
                    "not 0: the extent of a centred kind ends 50 m further",
                    "byte3; 0 for the first station and for kinds 5 to 8"),
    station_setting("value 7", Width::kInt16, "for the simulator", "short1"),
    station_setting("value 8", Width::kInt16, "for the simulator", "short2"),
    station_setting("value 9", Width::kUint8, "for the simulator", "byte1"),
    station_setting("value 10", Width::kInt16, "for the simulator", "short3"),
    station_setting("value 11", Width::kInt16, "for the simulator", "short4"),
    station_setting("value 12", Width::kInt16, "for the simulator", "short5"),
    station_setting("value 13", Width::kUint8,
                    "for the simulator; the built-in train has 1 at the origin, 30 at every intermediate stop",
                    "byte2"),
    SchemaField{.name = "hour",
                .unit = "h",
                .lowest = {0, warned_as(kLateTime)},
                .highest = {23, warned_as(kLateTime)},
                .meaning = "the hour of the scheduled time",
                .stored = "long4 = hour × 3600 + minute × 60 + second, 32 bits (error 25 beyond)"},
    sixty("minute", "min", Width::kInt32, "its minute; 60 or more is carried into the next hour", "in long4"),
    sixty("second", "s", Width::kInt32, "its second; 60 or more is carried into the next minute", "in long4"),
    SchemaField{.name = "name",
                .width = Width::kText,
                .lowest = {0, kStoredAsRead},
                .highest = {32767, kStoredAsRead},
                .meaning = "in double quotes when it holds a comma",
                .stored = "text, as read (at most 32767 bytes)"},
};

constexpr std::array kRecords = {
    SchemaRecord{"lunghezza percorso", "route length", SourceFile::kLine, Section::kGeneral, kLengthForms, {},
                 "the length of the route; required", "lunghezza percorso,    117000", kLengthFields, "[generale]"},
    SchemaRecord{"progressiva chilometrica", "kilometre numbering", SourceFile::kLine, Section::kGeneral,
                 kProgressiveForms, "uno, due or tre names the system; the three are ordered by start",
                 "a kilometric progressive system: the readings of the lineside posts",
                 "progressiva chilometrica uno,    0,    35000,    1", kProgressiveFields, "[generale]"},
    SchemaRecord{"sfondo", "background", SourceFile::kLine, Section::kGeneral, kBackgroundForms,
                 "uno, due or tre names the value", "a value for the simulator's scenery", "sfondo uno,    1",
                 kBackgroundFields, "[generale]"},
    SchemaRecord{"ripetizione segnali", "signal repetition", SourceFile::kLine, Section::kGeneral, kRepetitionForms,
                 "the field must also hold 4 or 9, the number of codes (error 5 without)", "cab signalling",
                 "ripetizione segnali 4 codici,    0    ,0", kRepetitionFields, "[generale]"},
    SchemaRecord{"pendenza", "gradient", SourceFile::kLine, Section::kTrack, kGradientForms, {},
                 "the gradient from a position on", "pendenza,   2000,   5", kGradientFields, "[pendenze]"},
    SchemaRecord{"curva", "curve", SourceFile::kLine, Section::kTrack, kCurveForms,
                 "a class digit 1 to 6 (the first found; error 103 without); an s or S turns it left",
                 "a bend of the plan of the line; unread with --no-trace", "curvad4,  1000,  400", kCurveFields,
                 "[curve]"},
    SchemaRecord{"montagna", "tunnel", SourceFile::kLine, Section::kTrack, kTunnelForms, {}, "a tunnel",
                 "montagna,   7200,  7250,  2", kTunnelFields, "[montagne]"},
    SchemaRecord{"indicatori_vmax", "speed board", SourceFile::kLine, Section::kTrack, kSpeedBoardForms, {},
                 "a maximum-speed board, with three speeds and a stripe count for each side",
                 "indicatori_vmax,  7700,  100,  100,  110,  2,  100,  100,  110,  2", kSpeedBoardFields, "[cartelli]"},
    SchemaRecord{"cartello_indicatore", "indication board", SourceFile::kLine, Section::kTrack, kTextBoardForms,
                 {}, "a board with a text", "cartello_indicatore,  6950,   (SOTTOVIA    )(VIA DEL LAGO)",
                 kTextBoardFields, "[indicazioni]"},
    SchemaRecord{"percentuale massa frenata", "braked mass", SourceFile::kTrain, Section::kTrain, kBrakedMassForms,
                 {}, "the braked-mass percentage", "percentuale massa frenata,    120", kBrakedMassFields,
                 "[generale]"},
    SchemaRecord{"numero vetture", "coaches", SourceFile::kTrain, Section::kTrain, kCoachesForms, {},
                 "the number of coaches", "numero vetture,    4", kCoachesFields, "[generale]"},
    SchemaRecord{"velocita", "line speed limit", SourceFile::kTrain, Section::kTrain, kSpeedLimitForms, {},
                 "the line speed limit from a position on", "velocita,    1300,   140", kSpeedLimitFields,
                 "[vel_limite]"},
    SchemaRecord{"aderenza", "adhesion", SourceFile::kTrain, Section::kTrain, kAdhesionForms, {},
                 "the rail adhesion from a position on", "aderenza,   0,    100", kAdhesionFields, "[aderenze]"},
    SchemaRecord{"orologio", "start clock", SourceFile::kTrain, Section::kTrain, kClockForms,
                 "the three numbers may be separated by blanks", "the clock at the start of the run",
                 "orologio,    10              55            30 ", kClockFields, "[generale]"},
    SchemaRecord{"sabbia", "sand", SourceFile::kTrain, Section::kTrain, kSandForms, {}, "the sand value",
                 "sabbia,    0", kSandFields, "[generale]"},
    SchemaRecord{"segnale", "signal", SourceFile::kTrain, Section::kTrain, kSignalForms, {},
                 "a lineside signal: its values are packed one decimal digit each for the simulator",
                 "segnale,    1500,   2, 4, 0,  0, 0,    2,  2,0,0, 0", kSignalFields, "[segnali]"},
    SchemaRecord{"rallentamento", "slowdown", SourceFile::kTrain, Section::kTrain, kSlowdownForms, {},
                 "a temporary speed restriction", "rallentamento,  4000,   30,   400,   1,   1,   0", kSlowdownFields,
                 "[rallentamenti]"},
    SchemaRecord{"abbattimento", "speed reduction point", SourceFile::kTrain, Section::kTrain, kReductionForms, {},
                 "a point where the simulator lowers the speed", "abbattimento,  8900,   80", kReductionFields,
                 "[abbattimenti]"},
    SchemaRecord{"stazione", "station", SourceFile::kTrain, Section::kTrain, kStationForms, {},
                 "a station or timing point of the timetable",
                 "stazione,   11000, 12,  400,  0, 0, 0,  1,1,0,  4,1,1,   30,  11, 5, 0, VALTORNE", kStationFields,
                 "[stazioni]"},
};

bool holds(std::string_view token, std::string_view lower_token, const KeywordForm& form, std::string_view word) {
  return form.letter_case == LetterCase::kAny ? lower_token.find(word) != std::string_view::npos
                                              : token.find(word) != std::string_view::npos;
}

}  // namespace

std::span<const SchemaRecord> source_schema() { return kRecords; }

const SchemaRecord* schema_record(std::string_view keyword) {
  for (const SchemaRecord& record : kRecords) {
    if (record.keyword == keyword) return &record;
  }
  return nullptr;
}

const SchemaField& schema_field(std::string_view keyword, std::string_view name) {
  if (const SchemaRecord* record = schema_record(keyword)) {
    for (const SchemaField& field : record->fields) {
      if (field.name == name) return field;
    }
  }
  throw std::logic_error("the schema has no field " + std::string(name) + " of " + std::string(keyword));
}

bool starts_record(const SchemaRecord& record, std::string_view token) {
  const std::string lower = ascii_lower(token);
  for (const KeywordForm& form : record.forms) {
    if (holds(token, lower, form, form.word) && holds(token, lower, form, form.also)) return true;
  }
  return false;
}

bool within_range(const SchemaField& field, int64_t value) {
  return value >= field.lowest.value && (field.grid_end != GridEnd::kNone || value <= field.highest.value);
}

}  // namespace scenario
