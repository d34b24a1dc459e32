#pragma once

#include <array>
#include <nlohmann/json.hpp>
#include <vector>

#include "format/line_geometry.h"
#include "inspect/json_stream.h"
#include "model/route_model.h"

namespace scenario {

// JSON views of the decoded files. Keys keep the order of the fields in the
// file (ordered_json) and carry the model's field names; texts are converted
// from Windows-1252 to UTF-8. Each view comes as members to be written one
// element at a time (they refer to the decoded file, which must outlive
// them), and whole.

// The summary: points, value types, bounding box, length. `all` adds every
// value: "x" and "y" arrays in file order, integers as integers, doubles as
// doubles, empty values as null. The values are read from the file's bytes
// as they are written, never held; a trace at hand is viewed as its file.
JsonMembers line_geometry_members(const GeometryHalves& halves, bool all);
nlohmann::ordered_json line_geometry_json(const Trace& trace, bool all);

// Row `row` with its byte offset, its role and its fields, and a station's
// position, extent and time after them.
nlohmann::ordered_json entry_row_json(const std::array<Entry, kEntryCount>& entries, size_t row);

// All 87 rows, each as entry_row_json gives it.
JsonMembers entry_table_members(const std::array<Entry, kEntryCount>& entries);
nlohmann::ordered_json entry_table_json(const std::array<Entry, kEntryCount>& entries);

// Cell `index`: the raw fields in file order, each stored number followed by
// what it means, then the decoded object.
nlohmann::ordered_json cell_json(const Cells& cells, size_t index);

// The cells that hold something: an object, a parameter, an approach mark or
// a tunnel (every cell has a speed limit, a gradient and an adhesion, so those
// alone do not count). `all` lists every cell.
JsonMembers cell_grid_members(const Cells& cells, bool all);
nlohmann::ordered_json cell_grid_json(const Cells& cells, bool all);

}  // namespace scenario
