// A report layout as readable text: the JSON description the layout tool compiles and dumps.
#pragma once

#include <string>
#include <vector>

#include "controls/report/report_layout_file.h"

// Reads a description; false with the problems (each naming the item and field) when the text
// is not a description: not JSON, a field of the wrong type, an unknown field or name, a
// missing band. The values are not checked here (see CheckLayout).
bool ReadLayoutDescription(const std::string& json, ReportLayout& layout,
                           std::vector<std::string>& problems);

// Writes the description, every field of every item. False with the problems when an item's
// section or kind has no name; an edit style or justification with no name of its own is
// written as the name of what it prints as, with a warning, and then compiles to other bytes.
bool WriteLayoutDescription(const ReportLayout& layout, std::string& json,
                            std::vector<std::string>& problems, std::vector<std::string>& warnings);
