#include "inspect/scenario_json.h"

#include <gtest/gtest.h>

#include <string>

namespace scenario {
namespace {

using nlohmann::ordered_json;

std::array<Entry, kEntryCount> handmade_entries() {
  std::array<Entry, kEntryCount> entries{};
  entries[1] = Entry{.kind = 11, .long1 = -300, .long2 = 300, .flag = 1, .text = "DORVALLO", .short1 = 4,
                     .byte2 = 1, .long4 = 39420};
  entries[2] = Entry{.kind = 25, .long1 = 40000, .long2 = 40300, .long3 = 40150, .text = "BIVIO"};
  entries[80].text = "(PONTE SU)(VIA II\xB0)";
  entries[81] = Entry{.long1 = 34000, .long2 = -30500, .text = ""};
  entries[82] = Entry{.long2 = 35100, .long3 = 1, .text = ""};
  entries[84] = Entry{.long1 = 120, .long2 = 117000, .long3 = 4, .text = ""};
  entries[85] = Entry{.long1 = 1, .text = "S", .short1 = 610, .long4 = 33270};
  entries[86] = Entry{.long3 = 4, .text = "47302", .short3 = 10, .short4 = 55, .short5 = 30};
  return entries;
}

TEST(EntryTableJson, RowCarriesItsOffsetRoleAndFieldsInFileOrder) {
  const ordered_json json = entry_table_json(handmade_entries());
  EXPECT_EQ(json["rows"], 87);
  EXPECT_EQ(json["entries"][1].dump(),
            R"({"row":1,"offset":34,"role":"station","kind":11,"long1":-300,"long2":300,"long3":0,"flag":1,)"
            R"("text":"DORVALLO","short1":4,"short2":0,"short3":0,"short4":0,"short5":0,)"
            R"("byte1":0,"byte2":1,"byte3":0,"byte4":0,"long4":39420,)"
            R"("position_m":0,"extent_m":{"from":-300,"to":300},"time":"10:57:00"})");
  EXPECT_EQ(json["entries"][2]["offset"], 34 + 34 + 8);
  EXPECT_EQ(json["entries"][3]["offset"], 34 + 34 + 8 + 34 + 5);
}

TEST(EntryTableJson, RolesFollowTheRowsAndWhatTheSharedRowsHold) {
  const ordered_json json = entry_table_json(handmade_entries());
  const std::pair<size_t, const char*> roles[] = {
      {0, "unused"}, {1, "station"}, {2, "station"}, {3, "free"}, {79, "free"}, {80, "board_text"},
      {81, "progressive_system"}, {82, "progressive_system"}, {83, "progressive_system"},
      {84, "totals"}, {85, "scenario"}, {86, "train"},
  };
  for (const auto& [row, role] : roles) EXPECT_EQ(json["entries"][row]["role"], role) << "row " << row;
}

TEST(EntryTableJson, TextsAreUtf8) {
  const ordered_json json = entry_table_json(handmade_entries());
  EXPECT_EQ(json["entries"][80]["text"], "(PONTE SU)(VIA II\u00B0)");
  EXPECT_NO_THROW(json.dump());
}

Cells handmade_cells() {
  Cells cells(6, Cell{.speed_limit = 12, .gradient = 100, .adhesion = 100});
  cells[1].p1 = 5121;
  cells[1].p2 = 2370;
  cells[2].tunnel = 2;
  cells[3] = Cell{.kind = kSignal, .p1 = 42, .p4 = 8, .approach = 81, .speed_limit = 28, .gradient = 97};
  cells[5].kind = kStationStop;
  cells[5].p1 = 1;
  return cells;
}

TEST(CellGridJson, ListsTheCellsHoldingSomethingWithTheirKindName) {
  const ordered_json json = cell_grid_json(handmade_cells(), false);
  EXPECT_EQ(json["cell_count"], 6);
  EXPECT_EQ(json["listed"], "holding_something");
  ASSERT_EQ(json["cells"].size(), 4u);
  EXPECT_EQ(json["cells"][0]["cell"], 1);  // the reserved marks
  EXPECT_EQ(json["cells"][1]["cell"], 2);  // a tunnel
  EXPECT_EQ(json["cells"][2].dump(),
            R"({"cell":3,"position_m":100,"kind":1,"kind_name":"signal","p1":42,"p2":0,"p3":0,"p4":8,"timer":0,)"
            R"("approach":81,"tunnel":0,"speed_limit":28,"speed_limit_kmh":140,"gradient":97,)"
            R"("gradient_permille":-3,"adhesion":0,)"
            R"("decoded":{"sx":2,"s1":4,"s2":0,"s3":0,"rapp":0,"dx":2,"d1":2,"d2":0,"d3":0,"tempo":0}})");
  EXPECT_EQ(json["cells"][3]["kind_name"], "station_stop");
}

TEST(CellGridJson, AllListsEveryCell) {
  const ordered_json json = cell_grid_json(handmade_cells(), true);
  EXPECT_EQ(json["listed"], "all");
  ASSERT_EQ(json["cells"].size(), 6u);
  EXPECT_EQ(json["cells"][4]["kind_name"], "nothing");
  EXPECT_EQ(json["cells"][4]["speed_limit"], 12);
}

// The object of a cell as the author wrote its record, one kind per row.
TEST(CellGridJson, DecodesEachObjectIntoItsRecordsFields) {
  Cells cells(12, Cell{.speed_limit = 20, .gradient = 100});
  cells[2] = Cell{.kind = kSpeedBoard, .p1 = 2022, .p2 = 2828, .p3 = 3030, .p4 = 21};
  cells[3] = Cell{.kind = kWarningBoard, .p1 = 30};
  cells[5] = Cell{.kind = kSlowdownStart, .p1 = 30, .p2 = 2, .p3 = 1};
  cells[9] = Cell{.kind = kSlowdownEnd, .p1 = 30, .p2 = 2, .p3 = 1};
  cells[10] = Cell{.kind = kReductionValue, .p1 = 180};
  cells[11] = Cell{.kind = kSignal, .p1 = 30, .p2 = 50, .p3 = 60, .p4 = 13, .timer = 101};
  const std::pair<size_t, const char*> decoded[] = {
      {2, R"({"vas":100,"vbs":140,"vcs":150,"strisces":2,"vad":110,"vbd":140,"vcd":150,"strisced":1})"},
      {3, R"({"speed_kmh":30,"d_v":0})"},
      {5, R"({"speed_kmh":30,"length_m":200,"d_v":2,"f_tt":1})"},
      {9, R"({"speed_kmh":30,"d_v":2,"f_tt":1})"},
      {10, R"({"speed_kmh":180})"},
      {11, R"({"sx":1,"s1":3,"s2":5,"s3":6,"rapp":1,"dx":0,"d1":0,"d2":0,"d3":0,"tempo":101})"},
  };
  const ordered_json json = cell_grid_json(cells, true);
  for (const auto& [cell, fields] : decoded) EXPECT_EQ(json["cells"][cell]["decoded"].dump(), fields) << cell;
  EXPECT_FALSE(json["cells"][4].contains("decoded"));
  // A speed reduction point and a signal both written at 500 m: the point
  // takes cell 500 / 50, the signal cell 500 / 50 + 1.
  EXPECT_EQ(json["cells"][10]["position_m"], 500);
  EXPECT_EQ(json["cells"][11]["position_m"], 500);
}

TEST(CellGridJson, UnfilledGradientHasNoPerMille) {
  const ordered_json json = cell_grid_json(Cells(2), true);
  EXPECT_TRUE(json["cells"][0]["gradient_permille"].is_null());
  EXPECT_EQ(json["cells"][0]["position_m"], -50);
}

// A 3-4-5 step after the seeds, then the empty end.
Trace handmade_trace() {
  Trace trace;
  trace.x = {{TraceValue::kInt16, 0}, {TraceValue::kInt16, 0}, {TraceValue::kDouble, 3}, {}};
  trace.y = {{TraceValue::kInt16, 0}, {TraceValue::kInt16, 1}, {TraceValue::kDouble, 5}, {}};
  return trace;
}

TEST(LineGeometryJson, SummarisesPointsBoxAndLength) {
  const ordered_json json = line_geometry_json(handmade_trace(), false);
  EXPECT_EQ(json.dump(),
            R"({"points":4,"values":{"empty":2,"int16":4,"double":2},"defined_points":3,)"
            R"("bounding_box":{"min_x":0.0,"min_y":0.0,"max_x":3.0,"max_y":5.0},"length":6.0})");
}

TEST(LineGeometryJson, AllListsEveryValueWithItsType) {
  const ordered_json json = line_geometry_json(handmade_trace(), true);
  EXPECT_EQ(json["x"].dump(), "[0,0,3.0,null]");
  EXPECT_EQ(json["y"].dump(), "[0,1,5.0,null]");
}

TEST(LineGeometryJson, TraceWithoutAPointHasNoBox) {
  Trace trace;
  trace.x = {TraceValue{}};
  trace.y = {TraceValue{}};
  const ordered_json json = line_geometry_json(trace, false);
  EXPECT_TRUE(json["bounding_box"].is_null());
  EXPECT_EQ(json["length"], 0.0);
}

}  // namespace
}  // namespace scenario
