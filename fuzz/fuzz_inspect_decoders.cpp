// The decoders of scenario inspect over arbitrary bytes, taken as each of
// the three binary files, and the JSON views of whatever decodes. A damaged
// file is refused with DecodeError, nothing else: no other exception, no
// touch outside the bytes, and the views always print as JSON.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "format/cell_grid.h"
#include "format/decode_error.h"
#include "format/entry_table.h"
#include "format/line_geometry.h"
#include "inspect/scenario_json.h"

namespace {

template <typename Decode, typename View>
void decode_and_view(std::string_view bytes, Decode decode, View view) {
  try {
    (void)view(decode(bytes)).dump();
  } catch (const scenario::DecodeError&) {
    // A damaged file: the one refusal there is.
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  decode_and_view(bytes, scenario::decode_line_geometry,
                  [](const scenario::Trace& trace) { return scenario::line_geometry_json(trace, true); });
  decode_and_view(bytes, scenario::decode_entry_table, scenario::entry_table_json);
  decode_and_view(bytes, scenario::decode_cell_grid,
                  [](const scenario::Cells& cells) { return scenario::cell_grid_json(cells, true); });
  return 0;
}
