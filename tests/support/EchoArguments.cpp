// Tells what it was started with, for the tests of running programs: on standard output
// each argument and then the value of MORVIK_ECHO, each ended by a zero byte; on standard
// error what came on its standard input; the number of arguments as its exit status.

#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {

// The arguments as the C runtime splits a Unicode program's command line, in UTF-8.
std::string narrow(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    out.pop_back(); // the terminating zero
    return out;
}

} // namespace

int wmain(int argc, wchar_t** wargv) {
    for (FILE* stream : {stdin, stdout, stderr})
        _setmode(_fileno(stream), _O_BINARY);
    std::string told;
    for (int i = 1; i < argc; ++i)
        told += narrow(wargv[i]) + '\0';
    const wchar_t* variable = _wgetenv(L"MORVIK_ECHO");
    told += (variable ? narrow(variable) : std::string("(unset)")) + '\0';
#else
int main(int argc, char** argv) {
    std::string told;
    for (int i = 1; i < argc; ++i)
        told += std::string(argv[i]) + '\0';
    const char* variable = std::getenv("MORVIK_ECHO");
    told += std::string(variable ? variable : "(unset)") + '\0';
#endif
    std::fwrite(told.data(), 1, told.size(), stdout);
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0)
        std::fwrite(buffer, 1, n, stderr);
    return argc - 1;
}
