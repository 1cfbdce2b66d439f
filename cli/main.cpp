// morvik-cli: the data files of the penetration tests, for scripts and laboratories.

#include "Command.h"
#include <iostream>

#ifdef _WIN32
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#else
#include <csignal>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // The same bytes as on Linux: JSON and CSV with "\n" line ends, whatever the console does.
    _setmode(_fileno(stdout), _O_BINARY);
#else
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
