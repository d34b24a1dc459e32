#pragma once

#include <filesystem>

#include "model/route_model.h"
#include "sources/line_table.h"

namespace scenario {

// The three driver documents, end marker included.
LineTable timetable_card_table();
LineTable slowdown_form_table();
LineTable notes_sheet_table();

// Write the documents into dir, under the names of the model's scenario and
// train.
void dati_scheda(const RouteModel& model, const std::filesystem::path& dir);
void dati_rallentamenti(const RouteModel& model, const std::filesystem::path& dir);
void dati_note(const RouteModel& model, const std::filesystem::path& dir);

}  // namespace scenario
