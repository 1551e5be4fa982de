// The record source kept beside a design, in a text file of the design's base name, so that
// the design file keeps its format.
#pragma once

#include <string>

// The design's path with the extension ".recordsource".
std::string RecordSourcePath(const std::string& designPath);
// The query text kept beside the design, without the white space around it; empty when there
// is none.
std::string ReadRecordSource(const std::string& designPath);
// Keeps the text beside the design; an empty text removes the file. False when that fails.
bool WriteRecordSource(const std::string& designPath, const std::string& text);
