#include "RunProgram.h"

#include "Portable.h"
#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#ifdef _WIN32
#include <cwctype>
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#endif

namespace morvik::test {

namespace fs = std::filesystem;

namespace {

// Where a run's output goes until it is read; removed with everything in it.
class CaptureFolder {
public:
    CaptureFolder() : path_(makeScratchFolder("morvik-run-")) {}
    ~CaptureFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    CaptureFolder(const CaptureFolder&) = delete;
    CaptureFolder& operator=(const CaptureFolder&) = delete;
    fs::path operator/(const char* name) const { return path_ / name; }

private:
    fs::path path_;
};

} // namespace

std::string slurpFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string windowsCommandLine(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& arg : args) {
        if (!line.empty())
            line += ' ';
        if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos) {
            line += arg;
            continue;
        }
        // Backslashes are plain characters unless a quote follows them: then each one
        // is doubled, and the quote itself escaped.
        line += '"';
        std::size_t backslashes = 0;
        for (const char c : arg) {
            if (c == '\\') {
                ++backslashes;
                continue;
            }
            if (c == '"')
                line.append(2 * backslashes + 1, '\\');
            else
                line.append(backslashes, '\\');
            backslashes = 0;
            line += c;
        }
        line.append(2 * backslashes, '\\'); // before the closing quote
        line += '"';
    }
    return line;
}

std::string withUnixLineEnds(std::string text) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            text[kept++] = text[i];
    text.resize(kept);
    return text;
}

#ifdef _WIN32

namespace {

std::wstring wide(const std::string& text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, out.data(), n);
    return out;
}

std::wstring upper(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

// The environment of the tests with `changes` over it, as CreateProcessW takes it: sorted
// by name whatever the case, each "NAME=value" ended by a zero, the whole by another.
std::wstring environmentBlock(const std::vector<std::pair<std::string, std::string>>& changes) {
    std::vector<std::wstring> entries;
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* p = block; *p; p += std::wcslen(p) + 1)
            entries.emplace_back(p);
        FreeEnvironmentStringsW(block);
    }
    auto nameOf = [](const std::wstring& entry) {
        // Names of the drives' current folders ("=C:=C:\...") begin with "=".
        return upper(entry.substr(0, entry.find(L'=', 1)));
    };
    for (const auto& [name, value] : changes) {
        const std::wstring key = upper(wide(name));
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [&](const std::wstring& e) { return nameOf(e) == key; }),
                      entries.end());
        entries.push_back(wide(name) + L"=" + wide(value));
    }
    std::stable_sort(
        entries.begin(), entries.end(),
        [&](const std::wstring& a, const std::wstring& b) { return nameOf(a) < nameOf(b); });
    std::wstring block;
    for (const std::wstring& e : entries)
        block += e + L'\0';
    block += L'\0';
    return block;
}

HANDLE inheritable(const fs::path& file, bool write) {
    SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
    return CreateFileW(file.empty() ? L"NUL" : file.wstring().c_str(),
                       write ? GENERIC_WRITE : GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &security,
                       write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Starts the program with its standard handles on these files; false when it cannot be
// started. `process` is null for a Unix program under Wine, which is not waited for.
bool start(const std::string& program, const std::vector<std::string>& args,
           const ProgramOptions& options, const fs::path& out, const fs::path& err,
           HANDLE& process) {
    HANDLE handles[3] = {inheritable(options.input, false),
                         inheritable(options.output.empty() ? out : options.output, true),
                         inheritable(err, true)};
    bool started = false;
    process = nullptr;
    if (std::none_of(std::begin(handles), std::end(handles),
                     [](HANDLE h) { return h == INVALID_HANDLE_VALUE; })) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = handles[0];
        startup.hStdOutput = handles[1];
        startup.hStdError = handles[2];
        std::vector<std::string> all{program};
        all.insert(all.end(), args.begin(), args.end());
        std::wstring line = wide(windowsCommandLine(all));
        std::wstring environment = environmentBlock(options.environment);
        PROCESS_INFORMATION info{};
        started = CreateProcessW(wide(program).c_str(), line.data(), nullptr, nullptr, TRUE,
                                 CREATE_UNICODE_ENVIRONMENT, environment.data(),
                                 options.directory.empty() ? nullptr
                                                           : options.directory.wstring().c_str(),
                                 &startup, &info) != 0;
        if (started) {
            process = info.hProcess;
            if (info.hThread)
                CloseHandle(info.hThread);
        }
    }
    for (HANDLE h : handles)
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    return started;
}

using UnixFileName = char*(CDECL*)(const wchar_t*);
using DosFileName = wchar_t*(CDECL*)(const char*);

// Wine's own conversions between its file names and those of the Unix side.
template <typename F> F wineFunction(const char* name) {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return kernel ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(kernel, name)))
                  : nullptr;
}

} // namespace

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const ProgramOptions& options) {
    CaptureFolder capture;
    ProgramResult result;
    HANDLE process = nullptr;
    if (!start(program, args, options, capture / "out", capture / "err", process)) {
        result.err = "cannot start " + program + " (error " + std::to_string(GetLastError()) + ")";
        return result;
    }
    if (process) {
        WaitForSingleObject(process, INFINITE);
        DWORD code = 0;
        if (GetExitCodeProcess(process, &code))
            result.status = static_cast<int>(code);
        CloseHandle(process);
    }
    result.out = slurpFile(capture / "out");
    result.err = slurpFile(capture / "err");
    return result;
}

fs::path hostPath(const fs::path& file) {
    const auto convert = wineFunction<UnixFileName>("wine_get_unix_file_name");
    if (!convert)
        return file;
    char* unix = convert(fs::absolute(file).wstring().c_str());
    if (!unix)
        return file;
    const fs::path converted = fs::u8path(unix);
    HeapFree(GetProcessHeap(), 0, unix);
    return converted;
}

ProgramResult runHostProgram(const std::string& program, const std::vector<std::string>& args,
                             const ProgramOptions& options) {
    const auto dosName = wineFunction<DosFileName>("wine_get_dos_file_name");
    wchar_t* shellName = dosName ? dosName("/bin/sh") : nullptr;
    if (!shellName)
        return {-1, "", "no programs of the host under Windows itself"};
    const fs::path shell(shellName);
    HeapFree(GetProcessHeap(), 0, shellName);
    // Wine starts a Unix program without a process to wait for, and hands it standard input
    // and output but not standard error: the shell sends that to the file itself and leaves
    // the status in a file once the program has ended, renamed into place whole.
    CaptureFolder capture;
    const fs::path done = capture / "status";
    std::vector<std::string> shellArgs{"-c",
                                       "done=$1; err=$2; shift 2; \"$@\" 2>\"$err\"; "
                                       "echo $? >\"$done.part\" && mv \"$done.part\" \"$done\"",
                                       "sh",
                                       hostPath(done).u8string(),
                                       hostPath(capture / "err").u8string(),
                                       program};
    shellArgs.insert(shellArgs.end(), args.begin(), args.end());
    HANDLE process = nullptr;
    ProgramResult result;
    if (!start(shell.u8string(), shellArgs, options, capture / "out", capture / "err", process)) {
        result.err = "cannot start " + program;
        return result;
    }
    if (process)
        CloseHandle(process);
    constexpr auto kLongest = std::chrono::minutes(2);
    constexpr auto kPoll = std::chrono::milliseconds(10);
    const auto deadline = std::chrono::steady_clock::now() + kLongest;
    while (!fs::exists(done) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(kPoll);
    if (fs::exists(done))
        result.status = std::stoi(slurpFile(done));
    result.out = slurpFile(capture / "out");
    result.err = slurpFile(capture / "err");
    return result;
}

#else

namespace {

// The tests' environment with `changes` over it.
std::vector<std::string>
environmentWith(const std::vector<std::pair<std::string, std::string>>& changes) {
    std::vector<std::string> entries;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        const std::string name = entry.substr(0, entry.find('='));
        const bool replaced = std::any_of(changes.begin(), changes.end(),
                                          [&](const auto& c) { return c.first == name; });
        if (!replaced)
            entries.push_back(entry);
    }
    for (const auto& [name, value] : changes)
        entries.push_back(name + "=" + value);
    return entries;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> list;
    for (std::string& s : strings)
        list.push_back(s.data());
    list.push_back(nullptr);
    return list;
}

} // namespace

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const ProgramOptions& options) {
    CaptureFolder capture;
    const std::string in = options.input.empty() ? "/dev/null" : options.input.string();
    const std::string out = (options.output.empty() ? capture / "out" : options.output).string();
    const std::string err = (capture / "err").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    constexpr mode_t kCreated = 0644;
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, kCreated);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, kCreated);
    if (!options.directory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, options.directory.c_str());
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> envp = environmentWith(options.environment);
    pid_t child = 0;
    const int failed = posix_spawnp(&child, program.c_str(), &actions, nullptr,
                                    pointers(argv).data(), pointers(envp).data());
    posix_spawn_file_actions_destroy(&actions);
    ProgramResult result;
    if (failed) {
        result.err = "cannot start " + program + ": " + std::strerror(failed);
        return result;
    }
    int raw = 0;
    while (waitpid(child, &raw, 0) < 0 && errno == EINTR) {
    }
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    if (options.output.empty())
        result.out = slurpFile(capture / "out");
    result.err = slurpFile(err);
    return result;
}

fs::path hostPath(const fs::path& file) {
    return file;
}

ProgramResult runHostProgram(const std::string& program, const std::vector<std::string>& args,
                             const ProgramOptions& options) {
    return runProgram(program, args, options);
}

#endif

} // namespace morvik::test
