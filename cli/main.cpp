// morvik-cli: the data files of the penetration tests, for scripts and laboratories.

#include "Command.h"
#include <iostream>

#ifdef _WIN32
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <csignal>
#endif

#ifdef _WIN32
namespace {

std::string utf8(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    out.pop_back(); // the terminating zero
    return out;
}

} // namespace

// The arguments in UTF-16, as given: the narrow ones are in the ANSI code page, which loses
// the Chinese of most file names. The commands take them in UTF-8, as on Linux.
int wmain(int argc, wchar_t** wargv) {
    // The same bytes as on Linux: JSON and CSV with "\n" line ends, whatever the console does.
    _setmode(_fileno(stdout), _O_BINARY);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(utf8(wargv[i]));
#else
int main(int argc, char** argv) {
    // Beyond a file-size limit a write fails and the command reports it; the signal would
    // end the process before it could say anything.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::vector<std::string> args(argv + 1, argv + argc);
#endif
    const int status = morvik::cli::runCli(args, std::cout, std::cerr);
    std::cout.flush();
    if (std::cout.good())
        return status;
    // A full disk or a closed pipe: the results did not arrive, which the caller must know.
    std::cerr << "morvik-cli: cannot write standard output\n";
    return morvik::cli::kExitFileError;
}
