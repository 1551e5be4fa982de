// qorlayout's two commands: compile a layout description into a report layout file, and dump a
// layout file back into its description.
#pragma once

#include <iosfwd>
#include <string>

// Exit statuses: 0 done, 1 a file could not be read or written or the layout is refused, 2 a
// wrong command line.
constexpr int kLayoutToolDone = 0;
constexpr int kLayoutToolFailed = 1;
constexpr int kLayoutToolUsage = 2;

// Reads the description, checks it and writes the layout; every problem goes to `errors` as
// "INPUT: item N (NAME): FIELD: problem", and nothing is written when there is one.
int CompileLayout(const std::string& input, const std::string& output, std::ostream& errors);
// Writes the description of the layout file to `output`, or to `out` when output is "-".
int DumpLayout(const std::string& input, const std::string& output, std::ostream& out,
               std::ostream& errors);
// Runs a command line (without the program's name).
int RunLayoutTool(int argc, const char* const* argv, std::ostream& out, std::ostream& errors);
