#pragma once

#include <array>
#include <cstdint>

namespace scenario {

// Every error number the system records or reports, one name each. The
// readers record theirs in the result of a reading; the compiler throws its
// two fatal ones. The numbers are the format's own and never change.
enum ErrorCode : int32_t {
  // Line source, general section.
  kRouteTooLong = 1,             // route length above 1000000 m
  kFirstRepetitionOffGrid = 3,   // first signal-repetition position not a multiple of 50 m
  kSecondRepetitionOffGrid = 4,  // second signal-repetition position not a multiple of 50 m
  kNoCodeCount = 5,              // signal-repetition keyword names neither 4 nor 9 codes

  // Placements on cells that are not free.
  kTextBoardTaken = 6,        // indication board
  kReductionCellTaken = 7,    // speed reduction point
  kSignalCellTaken = 16,      // signal
  kWarningCellTaken = 17,     // slowdown warning board
  kStartCellTaken = 18,       // slowdown start
  kEndCellTaken = 19,         // slowdown end, or an end not past the start
  kPreWarningCellTaken = 20,  // one of a slowdown's four pre-warning cells
  kSpeedBoardTaken = 21,      // maximum-speed board

  // Stations.
  kStationOffGrid = 8,       // position not a multiple of 50 m
  kStationLengthUneven = 9,  // length not a multiple of 100 m
  kTooManyStations = 10,     // the station counter reaches the next board slot
  kStationsTooClose = 22,    // less than 350 m after the previous station's end
  kStopCellUnusable = 24,    // stop cell 1 or lower, or the end of a slowdown

  // Either source.
  kUnevenProgressive = 2,  // a progressive system starts or shifts off the 50 m cells
  kPositionError = 15,     // a record lies beyond the route's tables; ends the source like its end
  kRunFailure = 25,        // a failure of the reading: a bad field, a read past the end, an overflow

  // Files and the plan trace.
  kNoLineSource = 101,      // the line source does not exist
  kNoGeneralHeading = 102,  // the line source ends before "[generale]"
  kTraceError = 103,        // curve keyword without a class digit, or a trace past its limit

  // Fatal in the compiler: the reserved places are already taken.
  kMarkTaken = 1250,  // row 85 short1 or cell 1 p1
  kCodeTaken = 1251,  // row 85 long4 or cell 1 p2
};

// Every number above, in increasing order: what a catalogue of them must
// cover.
inline constexpr std::array kErrorCodes = {
    kRouteTooLong,        kUnevenProgressive,  kFirstRepetitionOffGrid, kSecondRepetitionOffGrid,
    kNoCodeCount,         kTextBoardTaken,     kReductionCellTaken,     kStationOffGrid,
    kStationLengthUneven, kTooManyStations,    kPositionError,          kSignalCellTaken,
    kWarningCellTaken,    kStartCellTaken,     kEndCellTaken,           kPreWarningCellTaken,
    kSpeedBoardTaken,     kStationsTooClose,   kStopCellUnusable,       kRunFailure,
    kNoLineSource,        kNoGeneralHeading,   kTraceError,             kMarkTaken,
    kCodeTaken,
};

}  // namespace scenario
