#pragma once

#include <filesystem>
#include <string_view>

#include "model/route_model.h"
#include "sources/line_table.h"

namespace scenario {

// The run strings of the built-in scenario.
inline constexpr std::string_view kBuiltInScenario = "Dorvallo_Brisente";
inline constexpr std::string_view kBuiltInTrain = "47302";

// The built-in line and train sources, end marker included.
LineTable line_source_table();
LineTable train_source_table();

// Each writes a built-in source into dir, under the names of the model's
// scenario and train; transient when the sources are read back and deleted
// at once, as the package's are:
// dati_linea writes the line source.
void dati_linea(const RouteModel& model, const std::filesystem::path& dir, Durability durability = Durability::kOnDisk);
// dati_treno writes the train source.
void dati_treno(const RouteModel& model, const std::filesystem::path& dir, Durability durability = Durability::kOnDisk);

}  // namespace scenario
