// morvik-cli: the data files of the penetration tests, for scripts and laboratories.

#include "Command.h"
#include <iostream>

#ifndef _WIN32
#include <csignal>
#endif

int main(int argc, char** argv) {
#ifndef _WIN32
    // Beyond a file-size limit a write fails and the command reports it; the signal would
    // end the process before it could say anything.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = morvik::cli::runCli(args, std::cout, std::cerr);
    std::cout.flush();
    if (std::cout.good())
        return status;
    // A full disk or a closed pipe: the results did not arrive, which the caller must know.
    std::cerr << "morvik-cli: cannot write standard output\n";
    return morvik::cli::kExitFileError;
}
