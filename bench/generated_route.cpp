#include "bench/generated_route.h"

#include <string_view>

#include "io/replace_file.h"
#include "model/run_files.h"

namespace scenario::bench {
namespace {

constexpr int kMetresPerKilometre = 1000;
constexpr int kBoardSpacing = 10;  // kilometres between speed-limit boards

// Where in each kilometre the records stand; no two share a 50 m cell.
constexpr int kLeftCurveAt = 200;
constexpr int kRightCurveAt = 600;
constexpr int kCurveLength = 300;
constexpr int kSignalAt = 450;
constexpr int kBoardAt = 850;
// The last station stands this far before the end of the route.
constexpr int kLastStationBefore = 2000;

constexpr std::string_view kLineEnd = "\r\n";

void add_line(std::string& text, std::string_view line) {
  text += line;
  text += kLineEnd;
}

std::string numbers(std::initializer_list<int> values) {
  std::string joined;
  for (const int value : values) joined += ",  " + std::to_string(value);
  return joined;
}

// A gentle wave of gradients, -3 to +3 per mille.
int gradient_at(int kilometre) {
  constexpr int kWave = 7;
  return kilometre % kWave - kWave / 2;
}

// The record a faulty source repeats, and what follows each.
struct FaultyRecord {
  std::string_view record;
  std::string_view separator;
};

FaultyRecord faulty_record(Mistakes mistakes) {
  constexpr std::string_view kOnOneLine = ", ";
  switch (mistakes) {
    case Mistakes::kRecordsCutShort: return {"sabbia", kLineEnd};
    case Mistakes::kSignalsCutShort: return {"segnale,   10500,   1, 3, 0,  0, 0,    0,  0,0,0", kLineEnd};
    case Mistakes::kWarningsOnOneLine: return {"velocita, 0, 120", kOnOneLine};
    case Mistakes::kErrorsOnOneLine: return {"sabbia, 40000", kOnOneLine};
  }
  return {};
}

}  // namespace

std::string generated_line_source(int kilometres) {
  const int length = kilometres * kMetresPerKilometre;
  std::string text;
  add_line(text, "generated route of " + std::to_string(kilometres) + " km");
  add_line(text, "[generale]");
  add_line(text, "lunghezza percorso" + numbers({length}));
  add_line(text, "progressiva chilometrica uno" + numbers({0, 0, 1}));
  add_line(text, "progressiva chilometrica due" + numbers({0, 0, 0}));
  add_line(text, "progressiva chilometrica tre" + numbers({0, 0, 0}));
  add_line(text, "sfondo uno" + numbers({1}));
  add_line(text, "sfondo due" + numbers({0}));
  add_line(text, "sfondo tre" + numbers({0}));
  add_line(text, "ripetizione segnali 4 codici" + numbers({0, 0}));
  add_line(text, "[curve]");
  for (int km = 0; km < kilometres; ++km) {
    const int base = km * kMetresPerKilometre;
    add_line(text, "curvas3" + numbers({base + kLeftCurveAt, kCurveLength}));
    add_line(text, "curvad3" + numbers({base + kRightCurveAt, kCurveLength}));
  }
  add_line(text, "[pendenze]");
  for (int km = 0; km < kilometres; ++km) {
    add_line(text, "pendenza" + numbers({km * kMetresPerKilometre, gradient_at(km)}));
  }
  add_line(text, "[cartelli]");
  for (int km = 0; km < kilometres; km += kBoardSpacing) {
    const int at = km * kMetresPerKilometre + kBoardAt;
    add_line(text, "indicatori_vmax" + numbers({at, 120, 130, 140, 0, 120, 130, 140, 0}));
  }
  add_line(text, "[fine]");
  return text;
}

namespace {

// The train's general rows, up to its speed limits' heading.
std::string train_heading() {
  std::string text;
  add_line(text, "generated train");
  add_line(text, "[generale]");
  add_line(text, "numero vetture" + numbers({4}));
  add_line(text, "percentuale massa frenata" + numbers({120}));
  add_line(text, "sabbia" + numbers({0}));
  add_line(text, "orologio,    10  0  0");
  add_line(text, "[aderenze]");
  add_line(text, "aderenza" + numbers({0, 100}));
  add_line(text, "[vel_limite]");
  return text;
}

// A station at each end of the route.
std::string train_stations(int kilometres) {
  std::string text;
  add_line(text, "[stazioni]");
  add_line(text, "stazione,       0, 11,  600,  1, 0, 0,  4,1,0,  2,1,1,    1,  10, 0, 0, ORIGINE");
  add_line(text, "stazione" + numbers({kilometres * kMetresPerKilometre - kLastStationBefore}) +
                     ",  2,  800,  1, 1, 0,  1,1,0,  2,1,1,    0,  20, 0, 0, CAPOLINEA");
  return text;
}

}  // namespace

std::string generated_train_source(int kilometres) {
  const int length = kilometres * kMetresPerKilometre;
  std::string text = train_heading();
  for (int km = 0; km < kilometres; km += kBoardSpacing) {
    add_line(text, "velocita" + numbers({km * kMetresPerKilometre, 120}));
  }
  text += train_stations(kilometres);
  add_line(text, "[segnali]");
  // The first kilometre is left to the origin station's extent.
  for (int km = 1; km * kMetresPerKilometre < length - kLastStationBefore; ++km) {
    const int at = km * kMetresPerKilometre + kSignalAt;
    add_line(text, "segnale" + numbers({at}) + ",   2, 4, 0,  0, 0,    2,  2,0,0, 0");
  }
  add_line(text, "[fine]");
  return text;
}

void write_generated_route(const std::filesystem::path& dir, int kilometres) {
  write_generated_route(dir, kilometres, generated_train_source(kilometres));
}

void write_generated_route(const std::filesystem::path& dir, int kilometres, std::string_view train_source) {
  const RunFiles files = run_files(dir, kGeneratedScenario, kGeneratedTrain);
  replace_file(files.line_source, generated_line_source(kilometres));
  replace_file(files.train_source, train_source);
}

std::string commented_train_source(int kilometres, size_t bytes) {
  constexpr int kStep = 50;  // one speed limit a cell
  constexpr std::string_view kComment = ", -- ";
  constexpr std::string_view kFill = "tratto rinnovato ";
  const int limits = kilometres * kMetresPerKilometre / kStep;
  const std::string head = train_heading();
  std::string tail = train_stations(kilometres);
  add_line(tail, "[fine]");
  // Each line gets an equal share of what the records leave free.
  size_t records = 0;
  for (int i = 0; i < limits; ++i) records += ("velocita" + numbers({i * kStep, 120})).size() + kLineEnd.size();
  const size_t free_bytes = bytes - std::min(bytes, head.size() + tail.size() + records);
  const size_t comment_bytes = free_bytes / static_cast<size_t>(limits);
  std::string comment;
  if (comment_bytes > kComment.size()) {
    comment = kComment;
    while (comment.size() < comment_bytes) comment += kFill;
    comment.resize(comment_bytes);
  }
  std::string text = head;
  text.reserve(bytes);
  for (int i = 0; i < limits; ++i) add_line(text, "velocita" + numbers({i * kStep, 120}) + comment);
  return text + tail;
}

std::string faulty_train_source(Mistakes mistakes, size_t bytes) {
  const FaultyRecord shape = faulty_record(mistakes);
  std::string text;
  text.reserve(bytes);
  add_line(text, "[generale]");
  while (text.size() + shape.record.size() + shape.separator.size() <= bytes) {
    text += shape.record;
    text += shape.separator;
  }
  // The last record ends its line: ", " and the line end are both two bytes.
  if (shape.separator != kLineEnd) text.replace(text.size() - shape.separator.size(), shape.separator.size(), kLineEnd);
  return text;
}

std::string generated_field_stream(size_t bytes) {
  std::string text;
  for (int record = 0; text.size() < bytes; ++record) {
    const int at = record * kMetresPerKilometre;
    add_line(text, "pendenza" + numbers({at, gradient_at(record)}));
    add_line(text, "indicatori_vmax" + numbers({at + kBoardAt, 100, 100, 110, 2, 100, 100, 110, 2}));
    add_line(text, "cartello indicatore" + numbers({at + kSignalAt}) + ",  \"Galleria Monte Rocca (m, 1250)\"");
  }
  return text;
}

}  // namespace scenario::bench
