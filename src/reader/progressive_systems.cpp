#include "reader/progressive_systems.h"

#include <array>
#include <cstdint>

#include "format/scenario_format.h"

namespace scenario {
namespace {

// Slots in the order tre, due, uno: rows 81, 82, 83.
using Slots = std::array<ProgressiveSystem, 3>;
constexpr std::array<int, 3> kSlotRows = {kProgressiveTreRow, kProgressiveDueRow, kProgressiveUnoRow};

Slots read_slots(const RouteModel& model) {
  Slots slots;
  for (size_t i = 0; i < slots.size(); ++i) {
    slots[i] = get_progressive_system(model.entries[static_cast<size_t>(kSlotRows[i])]);
  }
  return slots;
}

// Source rows tre, due, uno ordered by start. A greatest start shared by two
// systems orders nothing: all values become 0. Of the other two, an equal
// start goes to the row read later (uno before due before tre).
Slots order_by_start(const Slots& source) {
  size_t top = 0;
  for (size_t i = 1; i < source.size(); ++i) {
    if (source[i].start > source[top].start) top = i;
  }
  for (size_t i = 0; i < source.size(); ++i) {
    if (i != top && source[i].start == source[top].start) return Slots{};
  }
  const size_t earlier = top == 0 ? 1 : 0;
  const size_t later = top == 2 ? 1 : 2;
  if (source[earlier].start > source[later].start) return {source[top], source[earlier], source[later]};
  return {source[top], source[later], source[earlier]};
}

// With starts that sum to 0 the system with a positive offset leads; a later
// source row (due over tre, uno over both) wins.
Slots pick_by_offset(const Slots& source) {
  const ProgressiveSystem& tre = source[0];
  const ProgressiveSystem& due = source[1];
  const ProgressiveSystem& uno = source[2];
  Slots slots{};
  if (tre.offset > 0) slots = {tre, due, uno};
  if (due.offset > 0) slots = {due, tre, uno};
  if (uno.offset > 0) slots = {uno, due, tre};
  return slots;
}

}  // namespace

void progressive_ordina(RouteModel& model) {
  const Slots source = read_slots(model);
  const int64_t sum = int64_t{source[0].start} + source[1].start + source[2].start;
  Slots slots = sum != 0 ? order_by_start(source) : pick_by_offset(source);
  for (size_t i = 0; i < slots.size(); ++i) {
    ProgressiveSystem& slot = slots[i];
    slot.offset = encode_numbering_offset(slot.direction, slot.offset);
    put_progressive_system(model.entries[static_cast<size_t>(kSlotRows[i])], slot);
  }
}

}  // namespace scenario
