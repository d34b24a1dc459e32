#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "reader/source_schema.h"

// The schema of the sources as people read it: the handbook's record tables
// and what `scenario explain KEYWORD` prints.

namespace scenario::tool {

// The records a section holds, one row each: what the keyword field must
// contain, the fields and what the record is.
std::string section_table_markdown(Section section);

// The fields of records, one row each, in order: unit, range, what a value
// outside it does, meaning and how it is stored. With more than one record
// a first column names the record.
std::string field_table_markdown(std::span<const SchemaRecord* const> records);

// A marker line that asks for a generated table, and the table right after
// it: "<!-- schema: records general -->" (a section's records: general,
// track or train), "<!-- schema: fields segnale -->" (a record's fields;
// several keywords joined by ", ").
inline constexpr std::string_view kSchemaMarker = "<!-- schema: ";

// The document with the table after each marker line made anew from the
// schema; the rest of it as it stands. Throws std::invalid_argument on a
// marker that names nothing.
std::string with_schema_tables(std::string_view document);

// The records a topic names: the one whose keyword it is, else those the
// readers would start on a field that holds it ("velocita", "Stazione").
std::vector<const SchemaRecord*> records_named(std::string_view topic);

// A record as `scenario explain KEYWORD` prints it: its source and section,
// its keyword forms, an example, then each field with its unit, range and
// meaning.
std::string record_explanation(const SchemaRecord& record);

// A record's keyword forms, a field's range and what a value outside it
// does, as the record tables write them in Markdown: for the language
// server's hover.
std::string record_forms_markdown(const SchemaRecord& record);
std::string field_range_markdown(const SchemaField& field);
std::string field_outside_markdown(const SchemaField& field);

// Every record's keyword, for a message that lists what is accepted.
std::string schema_keywords();

}  // namespace scenario::tool
