#pragma once
// Limits the size of any file this process writes, so that a write beyond `bytes` fails as
// on a full device; the signal that would end the process is ignored meanwhile. The save
// tests use it to force a real failure in the middle of writing.

#include <csignal>
#include <sys/resource.h>

namespace morvik::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
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

} // namespace morvik::test
