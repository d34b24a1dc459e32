#include "tool/starter_sources.h"

namespace scenario::tool {
namespace {

// Train 2901 on the Borgo Lago route with every record of a train source,
// each kind after at most two comment lines that say what its fields are; the
// stations come before the signals, so that a clash is reported.
constexpr std::string_view kLines[] = {
    "treno 2901 da Borgo Lago a Pontenero",
    "A starting point written by scenario new: a train on the route with every kind of record of a train source.",
    "Everything before the general heading below is skipped. After it up to 2 comment lines may stand in a row.",
    "[generale]",
    "-- numero vetture: the number of coaches",
    "numero vetture,    3",
    "-- percentuale massa frenata: the braked-mass percentage",
    "percentuale massa frenata,    110",
    "-- sabbia: the sand value",
    "sabbia,    0",
    "-- orologio: the clock at the start of the run: hour minute second",
    "orologio,    8              15            0",
    "[aderenze]",
    "-- aderenza: position (m) / rail adhesion from 0 to 255 from there on",
    "aderenza,   0,    100",
    "[vel_limite]",
    "-- velocita: position (m) / line speed limit (km/h in steps of 5) from there on",
    "-- start at 0 and write them in ascending order",
    "velocita,       0,    60",
    "velocita,     900,   100",
    "velocita,    9000,    80",
    "[stazioni]",
    "-- stazione: position (m; a multiple of 50) / kind (11 origin; 2 12 21 22 stop; 25 timing point)",
    "-- length (m; a multiple of 100) / values 4 to 13 for the simulator / scheduled time: hour minute second / name",
    "stazione,       0, 11,  600,  1, 0, 0,  4,1,0,  2,1,1,    1,   8,20, 0, BORGO LAGO",
    "-- stations in route order: each begins 350 m or more after the previous one ends",
    "-- value 6 not 0 ends the station 50 m further; write the stations before the signals",
    "stazione,    6000, 21,  300,  0, 0, 0,  1,1,0,  4,1,1,   30,   8,27, 0, CASE SPARSE",
    "stazione,   11000,  2,  600,  1, 1, 0,  1,1,0,  2,1,1,    0,   8,34, 0, PONTENERO",
    "[rallentamenti]",
    "-- rallentamento: start (m) / speed (km/h) / length (m) / f_tt: copied to the start and end cells",
    "-- f_ta: not 0 adds four pre-warning cells / d_v: not 0 is copied to the board cells; the warning board stands 1200 m ahead",
    "rallentamento,  4000,   30,   400,   1,   1,   0",
    "[abbattimenti]",
    "-- abbattimento: position (m) / speed value (0 or less: a point without a value)",
    "abbattimento,  8900,   80",
    "[segnali]",
    "-- segnale: position (m) / sx / s1 s2 s3 / rapp / dx / d1 d2 d3 / tempo: codes for the simulator",
    "-- keep s1 to s3 and d1 to d3 single digits and 3 sx + dx below 10; tempo counts with sx 2 only",
    "segnale,    1500,   2, 4, 0,  0, 0,    2,  2,0,0, 0",
    "segnale,    3000,   2, 4, 0,  0, 0,    2,  2,0,0, 0",
    "segnale,    5500,   1, 3, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,    7000,   2, 4, 0,  0, 0,    2,  2,0,0, 0",
    "segnale,    8500,   2, 4, 0,  0, 0,    2,  2,0,0, 0",
    "segnale,   10500,   1, 3, 0,  0, 0,    0,  0,0,0, 0",
    "[codici]",
    "[fine]",
    kEndMarker,
};

}  // namespace

LineTable starter_train_table() { return kLines; }

}  // namespace scenario::tool
