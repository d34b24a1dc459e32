#include "tool/starter_sources.h"

namespace scenario::tool {
namespace {

// A route of 12 km from Borgo Lago to Pontenero with every record of a line
// source, each kind after comment lines that say what its fields are: two in
// a row at most below the general section, where the third would be read as
// a record.
constexpr std::string_view kLines[] = {
    "Borgo Lago - Pontenero, linea di prova",
    "A starting point written by scenario new: a route of 12 km with every kind of record of a line source.",
    "Everything before the general heading below is skipped. After it a line that holds a hyphen-minus",
    "where a record may begin is a comment: up to 10 in a row in the general section and 2 in a row after it.",
    "A comment holds no comma. Positions are metres from the route origin: keep them multiples of 50.",
    "[generale]",
    "-- lunghezza percorso: the route length in metres; the grid of 50 m cells runs 7000 m past it",
    "lunghezza percorso,    12000",
    "-- progressiva chilometrica uno / due / tre: the kilometre numbering of the lineside posts",
    "-- start (m) / offset (m) / direction: with 0 the post at position p reads p + offset and with 1 offset - p",
    "-- a row 0 0 0 carries no numbering; here the posts read km 100.000 at the origin and grow",
    "progressiva chilometrica uno,    0,    100000,    0",
    "progressiva chilometrica due,    0,    0,    0",
    "progressiva chilometrica tre,    0,    0,    0",
    "-- sfondo uno / due / tre: a value each for the simulator's scenery",
    "sfondo uno,    1",
    "sfondo due,    5000",
    "sfondo tre,    9000",
    "-- ripetizione segnali 4 codici (or 9 codici): cab signalling from the first position (m)",
    "-- to the second position (m); a second position of 0 switches it off",
    "ripetizione segnali 4 codici,    0    ,0",
    "[curve]",
    "-- curva + s (left) or d (right) + a class 1 to 6 (radius 10000 5000 2500 1000 500 333 m)",
    "-- start (m) / length (m); in ascending order without overlap; curves bend the plan of the line only",
    "curvad4,  1000,  400",
    "curvas3,  5000,  600",
    "[pendenze]",
    "-- pendenza: position (m) / gradient in per mille from -100 to 155 (above 0 rises)",
    "-- each holds from its position to the next one; in ascending order",
    "pendenza,   0,    0",
    "pendenza,  2000,   5",
    "pendenza,  6000,   -3",
    "pendenza,  9000,   0",
    "[montagne]",
    "-- montagna: entrance (m) / exit (m) / kind 1 to 10 (11 to 20: the same with a marker every fourth cell)",
    "--- galleria del Monte Rosso ---",
    "montagna,   3000,  3400,  12",
    "montagna,   7000,  7050,  2",
    "[cartelli]",
    "-- indicatori_vmax: position (m) / speeds a b c (km/h in steps of 5) and stripes of the s side",
    "-- then the same four of the d side; 0 stripes where the speed applies and 1 or 2 to announce it",
    "indicatori_vmax,  900,  100,  100,  110,  0,  100,  100,  110,  0",
    "indicatori_vmax,  7800,  80,  80,  90,  1,  80,  80,  90,  1",
    "indicatori_vmax,  9000,  80,  80,  90,  0,  80,  80,  90,  0",
    "[indicazioni]",
    "-- cartello_indicatore: position (m) / the board's text with each of its lines in parentheses",
    "-- a text that holds a comma goes in double quotes",
    "cartello_indicatore,  2950,   (GALLERIA   )(MONTE ROSSO)",
    "cartello_indicatore,  6950,   (SOTTOVIA    )(VIA DEL LAGO)",
    "[fine]",
    kEndMarker,
};

}  // namespace

LineTable starter_line_table() { return kLines; }

}  // namespace scenario::tool
