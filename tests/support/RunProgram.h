#pragma once
// Runs a program with a list of arguments and no shell in between, so that no argument
// needs quoting for a shell: fork and exec on Linux, CreateProcessW on Windows (the
// arguments quoted by the rules the C runtime undoes, every text UTF-8 turned to UTF-16).

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace morvik::test {

struct ProgramOptions {
    // Standard input from this file; empty: the null device.
    std::filesystem::path input;
    // Standard output to this file instead of into the result.
    std::filesystem::path output;
    // The program's working folder; empty: the tests' own.
    std::filesystem::path directory;
    // Variables set for the program alone, over the ones of the tests.
    std::vector<std::pair<std::string, std::string>> environment;
};

struct ProgramResult {
    int status = -1; // the exit status; -1 when the program did not end by exiting
    std::string out;
    std::string err;
};

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const ProgramOptions& options = {});

// The whole of `file`; empty where it cannot be read.
std::string slurpFile(const std::filesystem::path& file);

// `text` with each "\r\n" as "\n": diagnostics on a Windows program's standard error, a
// text stream there, end their lines so.
std::string withUnixLineEnds(std::string text);

// Programs of the machine the tests are built on (Python, the PDF tools), which the
// Windows build reaches only under Wine: through its Unix side, with the file names
// they are given in the form hostPath makes. On Windows itself they fail to start.
std::filesystem::path hostPath(const std::filesystem::path& file);
// `program` is found on the host's PATH; options.environment is not passed on under Wine.
ProgramResult runHostProgram(const std::string& program, const std::vector<std::string>& args,
                             const ProgramOptions& options = {});

// A command line on which the Windows C runtime gives back exactly `args`.
std::string windowsCommandLine(const std::vector<std::string>& args);

} // namespace morvik::test
