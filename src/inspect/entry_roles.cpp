#include "inspect/entry_roles.h"

namespace scenario {
namespace {

bool has_numbers(const Entry& entry) {
  Entry numbers = entry;
  numbers.text.clear();
  return numbers != Entry{};
}

}  // namespace

EntryRole entry_role(int row, const Entry& entry) {
  if (row >= kProgressiveTreRow && row <= kProgressiveUnoRow) return EntryRole::kProgressiveSystem;
  switch (row) {
    case kTotalsRow: return EntryRole::kTotals;
    case kScenarioRow: return EntryRole::kScenario;
    case kTrainRow: return EntryRole::kTrain;
    default: break;
  }
  if (row < kFirstStationRow || row > kBoardTop) return EntryRole::kUnused;
  if (has_numbers(entry)) return EntryRole::kStation;
  return entry.text.empty() ? EntryRole::kFree : EntryRole::kBoardText;
}

std::string_view entry_role_name(EntryRole role) {
  switch (role) {
    case EntryRole::kUnused: return "unused";
    case EntryRole::kStation: return "station";
    case EntryRole::kBoardText: return "board_text";
    case EntryRole::kFree: return "free";
    case EntryRole::kProgressiveSystem: return "progressive_system";
    case EntryRole::kTotals: return "totals";
    case EntryRole::kScenario: return "scenario";
    case EntryRole::kTrain: return "train";
  }
  return "unused";
}

}  // namespace scenario
