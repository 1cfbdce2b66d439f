#pragma once
// The subcommands of morvik-cli. Each lives in its own file and is listed once in
// Commands.cpp; the usage text is built from that list.

#include <ostream>
#include <string>
#include <vector>

namespace morvik::cli {

// Exit statuses, part of the contract with the scripts that call us.
constexpr int kExitOk = 0;
constexpr int kExitFileError = 1; // the file cannot be opened or is refused
constexpr int kExitUsage = 2;

// `args` are the arguments after the subcommand's name. Results go to `out`, diagnostics
// to `err`; the return value is the exit status.
using CommandFunction = int (*)(const std::vector<std::string>& args, std::ostream& out,
                                std::ostream& err);

struct Command {
    const char* name;
    const char* synopsis; // arguments after the name, for the usage text
    const char* summary;  // one line
    CommandFunction run;
};

const std::vector<Command>& commands();

int runShow(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
#ifdef MORVIK_CLI_PDF
int runPdf(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runSummary(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
#endif
#ifdef MORVIK_CLI_PRINT
int runPrint(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runPrinters(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
#endif
int runExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runMake(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Runs the whole program on the arguments after the program name.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace morvik::cli
