// morvik-cli: the data files of the penetration tests, for scripts and laboratories.

#include "Command.h"
#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = morvik::cli::runCli(args, std::cout, std::cerr);
    std::cout.flush();
    return std::cout.good() ? status : morvik::cli::kExitFileError;
}
