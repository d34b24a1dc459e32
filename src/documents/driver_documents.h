#pragma once

#include <filesystem>

#include "model/route_model.h"
#include "sources/line_table.h"

namespace scenario {

// The three driver documents, end marker included.
LineTable timetable_card_table();
LineTable slowdown_form_table();
LineTable notes_sheet_table();

// Each writes its document into dir, under the names of the model's scenario
// and train:
// dati_scheda writes the timetable card.
void dati_scheda(const RouteModel& model, const std::filesystem::path& dir);
// dati_rallentamenti writes the slowdown order form.
void dati_rallentamenti(const RouteModel& model, const std::filesystem::path& dir);
// dati_note writes the notes sheet.
void dati_note(const RouteModel& model, const std::filesystem::path& dir);

}  // namespace scenario
