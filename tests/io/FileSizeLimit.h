#pragma once
// Limits the size of any file this process writes, so that a write beyond `bytes` fails as
// on a full device; the signal that would end the process is ignored meanwhile. The save
// tests use it to force a real failure in the middle of writing. Windows has no such
// limit: there ok() is false and the tests that need it skip.

#include "tests/support/Portable.h"
#include <cstdint>
#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

namespace morvik::test {

#ifdef _WIN32
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::uint64_t) {}
    bool ok() const { return false; }
};
#else
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::uint64_t bytes) {
        oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        ok_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldSignal_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool ok() const { return ok_; }

private:
    rlimit old_{};
    void (*oldSignal_)(int) = nullptr;
    bool ok_ = false;
};
#endif

// Ends the test when the limit could not be set, which happens only on Windows.
#define MORVIK_REQUIRE_FILE_SIZE_LIMIT(limit)                                                      \
    if (!(limit).ok()) {                                                                           \
        ASSERT_TRUE(test::kOnWindows) << "cannot limit the file size";                             \
        GTEST_SKIP() << "Windows has no file size limit to simulate a full disk";                  \
    }

} // namespace morvik::test
