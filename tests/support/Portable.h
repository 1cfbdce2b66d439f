#pragma once
// The few system calls the tests need, in one form for Linux and Windows, so that the
// same tests run on both. A test that needs what Windows lacks (fork, resource limits,
// pipes in the file system, a user switch) skips there, saying why.

#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace morvik::test {

#ifdef _WIN32
constexpr bool kOnWindows = true;
#else
constexpr bool kOnWindows = false;
#endif

inline long long currentProcessId() {
#ifdef _WIN32
    return _getpid();
#else
    return getpid();
#endif
}

inline void setEnvironment(const char* name, const std::string& value, bool overwrite = true) {
    if (!overwrite && std::getenv(name))
        return;
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

inline void unsetEnvironment(const char* name) {
#ifdef _WIN32
    _putenv_s(name, ""); // an empty value removes the variable
#else
    unsetenv(name);
#endif
}

// Whether permissions mean nothing to this process (root on Linux).
inline bool permissionsAreIgnored() {
#ifdef _WIN32
    return false;
#else
    return geteuid() == 0;
#endif
}

// A new folder of our own under the system's temporary folder.
inline std::filesystem::path makeScratchFolder(const std::string& prefix) {
    constexpr int kAttempts = 100;
    std::random_device random;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::filesystem::path candidate =
            std::filesystem::temp_directory_path() / (prefix + std::to_string(random()));
        std::error_code ec;
        if (std::filesystem::create_directory(candidate, ec))
            return candidate;
    }
    throw std::runtime_error("cannot make a scratch folder");
}

} // namespace morvik::test

// Ends a test that cannot run on Windows, with the reason.
#ifdef _WIN32
#define MORVIK_SKIP_ON_WINDOWS(reason) GTEST_SKIP() << (reason)
#else
#define MORVIK_SKIP_ON_WINDOWS(reason) static_cast<void>(0)
#endif
