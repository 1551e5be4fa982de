// Running one of the suite's programs as a user runs it from the shell: its exit status and
// what it wrote to standard output and standard error.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

struct ProgramRun {
    int status = -1;  // -1 when the program did not exit by itself
    std::string out;
    std::string err;
};

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The text as one shell word.
inline std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs the shell command line with nothing on standard input; its output is kept in files of
// the folder.
inline ProgramRun RunCommandLine(const std::string& commandLine, const std::string& folder) {
    const std::string out = folder + "/stdout";
    const std::string err = folder + "/stderr";
    const std::string command =
        commandLine + " >" + ShellQuoted(out) + " 2>" + ShellQuoted(err) + " </dev/null";
    const int raw = std::system(command.c_str());  // NOLINT(*-mt-unsafe): tests, one thread
    return ProgramRun{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadWholeFile(out),
                      ReadWholeFile(err)};
}

// The text pdftotext reads from the PDF, or empty when it cannot.
inline std::string PdfText(const std::string& pdf) {
    const std::string command = "pdftotext -layout " + ShellQuoted(pdf) + " -";
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::string text;
    std::array<char, 4096> buffer{};
    while (pipe && std::fgets(buffer.data(), buffer.size(), pipe.get()) != nullptr) {
        text += buffer.data();
    }
    return text;
}
