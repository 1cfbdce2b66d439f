#include "AtomicFile.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace morvik {

namespace fs = std::filesystem;

namespace {

constexpr int kNameAttempts = 100;
constexpr int kMaxLinkHops = 40; // as the system allows when it resolves a path
constexpr const char* kTemporaryPrefix = ".morvik-save-";

// The file the caller means: links are followed, a dangling one included, so that the
// link itself survives and the file it names receives the bytes.
fs::path resolveTarget(const fs::path& target) {
    fs::path current = target;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(current, ec)))
            return current;
        const fs::path next = fs::read_symlink(current, ec);
        if (ec)
            return {};
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return {}; // a loop of links names no file
}

// A folder, a device or a pipe must never be renamed over.
bool isReplaceable(const fs::path& target) {
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    return status.type() == fs::file_type::not_found || status.type() == fs::file_type::regular;
}

using ProcessId = std::uint64_t;

ProcessId currentProcessId() {
#ifdef _WIN32
    return GetCurrentProcessId();
#else
    return static_cast<ProcessId>(getpid());
#endif
}

#ifdef _WIN32
constexpr ProcessId kLargestPid = 0xFFFFFFFFu; // a DWORD
#else
constexpr ProcessId kLargestPid = 1 << 22; // the highest pid_max the system allows
#endif

bool processRuns(ProcessId pid) {
#ifdef _WIN32
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr)
        return GetLastError() != ERROR_INVALID_PARAMETER; // denied: it runs, for another user
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) == 0 || code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
#else
    // EPERM: it runs, under another user.
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
#endif
}

// The pid in a temporary name ".morvik-save-PID-N-A", or 0 when the name is not ours.
ProcessId temporaryOwner(const std::string& name) {
    const std::string prefix = kTemporaryPrefix;
    if (name.compare(0, prefix.size(), prefix) != 0)
        return 0;
    ProcessId pid = 0;
    std::size_t i = prefix.size();
    for (; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) {
        pid = pid * 10 + static_cast<ProcessId>(name[i] - '0');
        if (pid > kLargestPid)
            return 0;
    }
    return i < name.size() && name[i] == '-' ? pid : 0;
}

// A save killed between creating its temporary file and renaming it leaves the file
// behind, as large as the data set. Those of processes that no longer run are removed;
// a live process may be saving right now.
void removeStaleTemporaries(const fs::path& folder) {
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        const ProcessId owner = temporaryOwner(it->path().filename().string());
        std::error_code typeEc;
        if (owner > 0 && !processRuns(owner) &&
            it->symlink_status(typeEc).type() == fs::file_type::regular)
            fs::remove(it->path(), typeEc);
    }
}

fs::path temporaryName(const fs::path& target, int attempt) {
    static std::atomic<unsigned> counter{0};
    const ProcessId pid = currentProcessId();
    // Hidden, and short whatever the target's name, so that it fits wherever the target does.
    return target.parent_path() / (kTemporaryPrefix + std::to_string(pid) + "-" +
                                   std::to_string(counter++) + "-" + std::to_string(attempt));
}

#ifdef _WIN32

// Writes all `size` bytes where the file's pointer stands.
bool writeAll(HANDLE file, const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, p, chunk, &written, nullptr) || written == 0)
            return false;
        p += written;
        size -= written;
    }
    return true;
}

bool seek(HANDLE file, std::uint64_t offset) {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) != 0;
}

class FileSink : public ContentSink {
public:
    explicit FileSink(HANDLE file) : file_(file) {}
    bool append(const void* data, std::size_t size) override {
        ok_ = ok_ && writeAll(file_, data, size);
        if (ok_)
            end_ += size;
        return ok_;
    }
    bool overwrite(std::size_t offset, const void* data, std::size_t size) override {
        ok_ = ok_ && seek(file_, offset) && writeAll(file_, data, size) && seek(file_, end_);
        return ok_;
    }
    bool ok() const { return ok_; } // no write has failed

private:
    HANDLE file_;
    std::uint64_t end_ = 0;
    bool ok_ = true;
};

ReplaceResult writeAndRename(const fs::path& target,
                             const std::function<bool(ContentSink&)>& produce) {
    removeStaleTemporaries(target.parent_path());
    // Replacing a file bypasses its read-only attribute: such a file is refused before
    // anything is written.
    const DWORD oldAttributes = GetFileAttributesW(target.c_str());
    if (oldAttributes != INVALID_FILE_ATTRIBUTES && (oldAttributes & FILE_ATTRIBUTE_READONLY))
        return ReplaceResult::CreateFailed;

    HANDLE file = INVALID_HANDLE_VALUE;
    fs::path temp;
    for (int attempt = 0; attempt < kNameAttempts && file == INVALID_HANDLE_VALUE; ++attempt) {
        temp = temporaryName(target, attempt);
        file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS &&
            GetLastError() != ERROR_ALREADY_EXISTS)
            return ReplaceResult::CreateFailed;
    }
    if (file == INVALID_HANDLE_VALUE)
        return ReplaceResult::CreateFailed;

    FileSink sink(file);
    bool produced = false;
    try {
        produced = produce(sink);
    } catch (...) {
        CloseHandle(file);
        DeleteFileW(temp.c_str());
        throw;
    }
    const bool abandoned = !produced && sink.ok();
    bool ok = produced && sink.ok() && FlushFileBuffers(file) != 0;
    ok = CloseHandle(file) != 0 && ok;
    // The target keeps its other attributes (hidden, archive), as on Linux its mode.
    if (ok && oldAttributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(temp.c_str(), oldAttributes);
    // Write-through: the call returns once the rename is on the disk.
    ok = ok && MoveFileExW(temp.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) {
        DeleteFileW(temp.c_str());
        return abandoned ? ReplaceResult::Abandoned : ReplaceResult::WriteFailed;
    }
    return ReplaceResult::Replaced;
}

#else

// Writes all `size` bytes where the file stands, or from `*at` on where that is given.
bool writeAll(int fd, const void* data, std::size_t size, off_t* at = nullptr) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = at != nullptr ? ::pwrite(fd, p, size, *at) : ::write(fd, p, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return false;
        p += n;
        size -= static_cast<std::size_t>(n);
        if (at != nullptr)
            *at += n;
    }
    return true;
}

// Makes the rename itself durable; a folder that cannot be synced costs only that.
void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

class FileSink : public ContentSink {
public:
    explicit FileSink(int fd) : fd_(fd) {}
    bool append(const void* data, std::size_t size) override {
        ok_ = ok_ && writeAll(fd_, data, size);
        return ok_;
    }
    bool overwrite(std::size_t offset, const void* data, std::size_t size) override {
        auto at = static_cast<off_t>(offset);
        ok_ = ok_ && writeAll(fd_, data, size, &at);
        return ok_;
    }
    bool ok() const { return ok_; } // no write has failed

private:
    int fd_;
    bool ok_ = true;
};

ReplaceResult writeAndRename(const fs::path& target,
                             const std::function<bool(ContentSink&)>& produce) {
    removeStaleTemporaries(target.parent_path());
    // Renaming over a file bypasses its own permission: a file the user may not write
    // (a read-only data file or settings file) is refused before anything is written.
    if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0)
        return ReplaceResult::CreateFailed;

    // 0666 less the umask for a new file, like any file the program creates.
    int fd = -1;
    fs::path temp;
    for (int attempt = 0; attempt < kNameAttempts && fd < 0; ++attempt) {
        temp = temporaryName(target, attempt);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return ReplaceResult::CreateFailed;
    }
    if (fd < 0)
        return ReplaceResult::CreateFailed;

    struct stat old {};
    if (::stat(target.c_str(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);

    FileSink sink(fd);
    bool produced = false;
    try {
        produced = produce(sink);
    } catch (...) {
        ::close(fd);
        ::unlink(temp.c_str());
        throw;
    }
    const bool abandoned = !produced && sink.ok();
    bool ok = produced && sink.ok() && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return abandoned ? ReplaceResult::Abandoned : ReplaceResult::WriteFailed;
    }
    syncFolder(target.parent_path());
    return ReplaceResult::Replaced;
}

#endif

} // namespace

ReplaceResult replaceFileContents(const fs::path& target, std::initializer_list<ByteSpan> spans) {
    return replaceFileContentsWith(target, [spans](ContentSink& sink) {
        for (const ByteSpan& span : spans)
            if (!sink.append(span.data, span.size))
                return false;
        return true;
    });
}

ReplaceResult replaceFileContentsWith(const fs::path& target,
                                      const std::function<bool(ContentSink&)>& produce) {
    const fs::path resolved = resolveTarget(target);
    if (resolved.empty() || !resolved.has_filename() || !isReplaceable(resolved))
        return ReplaceResult::CreateFailed;
    return writeAndRename(resolved, produce);
}

} // namespace morvik
