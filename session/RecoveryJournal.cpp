#include "session/RecoveryJournal.h"

#include "io/AtomicFile.h"
#include "io/DataFile.h"
#include <algorithm>
#include <chrono>
#include <ctime>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace morvik {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDataExtension = ".stl";
constexpr const char* kRecordExtension = ".info";
constexpr const char* kLockExtension = ".lock";
constexpr const char* kJournalPrefix = "journal-";
constexpr const char* kAsideFolder = "aside";

std::int64_t processId() {
#ifdef _WIN32
    return _getpid();
#else
    return getpid();
#endif
}

// Opens the lock file and takes it without waiting: -1 when another process holds it or
// the file cannot be opened.
int takeLock(const fs::path& path) {
#ifdef _WIN32
    int fd = -1;
    // A file opened without sharing is the lock: nobody else can open it while it is held.
    if (_wsopen_s(&fd, path.c_str(), _O_RDWR | _O_CREAT, _SH_DENYRW, _S_IREAD | _S_IWRITE) != 0)
        return -1;
    return fd;
#else
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
#endif
}

void releaseLock(int fd) {
#ifdef _WIN32
    _close(fd);
#else
    ::close(fd); // closing the last descriptor releases the lock
#endif
}

// Whether the process that owns the journal `id` still runs: it holds the lock.
bool ownerRuns(const fs::path& folder, const std::string& id) {
    const fs::path lock = folder / (id + kLockExtension);
    std::error_code ec;
    if (!fs::exists(lock, ec))
        return false;
    const int fd = takeLock(lock);
    if (fd < 0)
        return true;
    releaseLock(fd);
    return false;
}

std::optional<std::string> readWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
}

std::int64_t modificationSeconds(const fs::path& path) {
    std::error_code ec;
    const auto time = fs::last_write_time(path, ec);
    if (ec)
        return 0;
    return std::chrono::duration_cast<std::chrono::seconds>(time.time_since_epoch()).count();
}

} // namespace

std::string encodeJournalRecord(const JournalRecord& record) {
    std::ostringstream out;
    out << "file=" << record.filePath << "\n"
        << "name=" << record.fileName << "\n"
        << "written=" << record.writtenAt << "\n"
        << "pid=" << record.processId << "\n"
        << "version=" << record.version << "\n";
    return out.str();
}

std::optional<JournalRecord> decodeJournalRecord(const std::string& text) {
    std::map<std::string, std::string> values;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            return std::nullopt;
        values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    for (const char* key : {"file", "name", "written", "pid", "version"})
        if (values.count(key) == 0)
            return std::nullopt;
    JournalRecord record;
    record.filePath = values["file"];
    record.fileName = values["name"];
    record.version = values["version"];
    try {
        std::size_t used = 0;
        record.writtenAt = std::stoll(values["written"], &used);
        if (used != values["written"].size())
            return std::nullopt;
        record.processId = std::stoll(values["pid"], &used);
        if (used != values["pid"].size())
            return std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (record.fileName.empty())
        return std::nullopt;
    return record;
}

RecoveryJournal::RecoveryJournal(fs::path folder, std::string version)
    : folder_(std::move(folder)), version_(std::move(version)) {
    std::error_code ec;
    fs::create_directories(folder_, ec);
    // The start time keeps the name unique when a process id comes round again.
    const auto started = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::system_clock::now().time_since_epoch())
                             .count();
    const std::string id =
        kJournalPrefix + std::to_string(processId()) + "-" + std::to_string(started);
    dataPath_ = folder_ / (id + kDataExtension);
    recordPath_ = folder_ / (id + kRecordExtension);
    lockPath_ = folder_ / (id + kLockExtension);
    lock_ = takeLock(lockPath_);
    if (lock_ >= 0)
        writer_ = std::thread([this] { run(); });
}

RecoveryJournal::~RecoveryJournal() {
    if (writer_.joinable()) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        writer_.join();
    }
    if (lock_ >= 0) {
        std::error_code ec;
        // Without a journal the lock file is of no use to anybody.
        if (!fs::exists(dataPath_, ec))
            fs::remove(lockPath_, ec);
        releaseLock(lock_);
    }
}

void RecoveryJournal::update(std::vector<std::uint8_t> image, JournalRecord record) {
    if (!active())
        return;
    record.processId = processId();
    record.version = version_;
    record.writtenAt = static_cast<std::int64_t>(std::time(nullptr));
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_ = Pending{std::move(image), encodeJournalRecord(record)};
    }
    wake_.notify_all();
}

void RecoveryJournal::remove() {
    if (!active())
        return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_.reset();
        removeRequested_ = true;
    }
    wake_.notify_all();
}

void RecoveryJournal::flush() {
    if (!active())
        return;
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return !pending_ && !removeRequested_ && !busy_; });
}

void RecoveryJournal::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || pending_ || removeRequested_; });
        // A removal asked for before the latest update must not take that update with it,
        // so it runs first and leaves the pending image alone.
        if (removeRequested_) {
            removeRequested_ = false;
            busy_ = true;
            lock.unlock();
            std::error_code ec;
            fs::remove(dataPath_, ec);
            fs::remove(recordPath_, ec);
            lock.lock();
            busy_ = false;
        } else if (pending_) {
            const Pending next = std::move(*pending_);
            pending_.reset();
            busy_ = true;
            lock.unlock();
            writeNow(next);
            lock.lock();
            busy_ = false;
        } else if (stopping_) {
            break;
        }
        idle_.notify_all();
    }
    idle_.notify_all();
}

void RecoveryJournal::writeNow(const Pending& pending) {
    // The data first: a record never names data that are not there yet.
    if (replaceFileContents(dataPath_, {{pending.image.data(), pending.image.size()}}) !=
        ReplaceResult::Replaced)
        return;
    replaceFileContents(recordPath_, {{pending.record.data(), pending.record.size()}});
}

OrphanClaim::OrphanClaim(const OrphanJournal& orphan)
    : data_(orphan.data), lockPath_(orphan.lock), lock_(takeLock(orphan.lock)) {
    std::error_code ec;
    // The program that held it before may have finished with it between the search and now.
    if (lock_ >= 0 && !fs::exists(data_, ec)) {
        releaseLock(lock_);
        lock_ = -1;
        fs::remove(lockPath_, ec); // made by the attempt itself
    }
}

OrphanClaim::~OrphanClaim() {
    if (lock_ < 0)
        return;
    releaseLock(lock_);
    // Taken over or moved aside: nobody needs the lock file. Where a held file cannot be
    // deleted, the removal during the claim failed and this one does it.
    std::error_code ec;
    if (!fs::exists(data_, ec))
        fs::remove(lockPath_, ec);
}

std::vector<OrphanJournal> RecoveryJournal::findOrphans(const fs::path& folder) {
    std::vector<OrphanJournal> orphans;
    std::error_code ec;
    fs::directory_iterator entries(folder, ec);
    if (ec)
        return orphans;
    for (const fs::directory_entry& entry : entries) {
        const fs::path path = entry.path();
        if (path.extension() != kDataExtension || !entry.is_regular_file(ec))
            continue;
        const std::string id = path.stem().string();
        if (id.rfind(kJournalPrefix, 0) != 0 || ownerRuns(folder, id))
            continue;
        OrphanJournal orphan;
        orphan.data = path;
        orphan.record = folder / (id + kRecordExtension);
        orphan.lock = folder / (id + kLockExtension);
        if (const auto text = readWholeFile(orphan.record))
            orphan.info = decodeJournalRecord(*text);
        orphans.push_back(std::move(orphan));
    }
    auto written = [](const OrphanJournal& o) {
        return o.info ? o.info->writtenAt : modificationSeconds(o.data);
    };
    std::sort(orphans.begin(), orphans.end(), [&](const OrphanJournal& a, const OrphanJournal& b) {
        const auto ta = written(a);
        const auto tb = written(b);
        return ta != tb ? ta > tb : a.data < b.data;
    });
    return orphans;
}

bool RecoveryJournal::readOrphan(const OrphanJournal& orphan, DataSet& data) {
    if (!orphan.info)
        return false;
    const auto bytes = readWholeFile(orphan.data);
    if (!bytes)
        return false;
    DataSet read;
    DataFileLayout layout = DataFileLayout::Legacy;
    if (readDataFileBytes(bytes->data(), bytes->size(), read, &layout) != ReadResult::Loaded ||
        layout != DataFileLayout::Record || read.members.empty())
        return false;
    // The journal is written whole: any byte beyond the last record means it is not ours.
    if (bytes->size() !=
        kDataFileHeaderSize + read.members.size() * sizeof(ShaJiang_GouJian_Struct))
        return false;
    data = std::move(read);
    return true;
}

std::optional<fs::path> RecoveryJournal::moveAside(const OrphanJournal& orphan,
                                                   const fs::path& folder) {
    const fs::path aside = folder / kAsideFolder;
    std::error_code ec;
    fs::create_directories(aside, ec);
    if (ec)
        return std::nullopt;
    fs::rename(orphan.data, aside / orphan.data.filename(), ec);
    if (ec)
        return std::nullopt;
    std::error_code recordEc;
    if (fs::exists(orphan.record, recordEc))
        fs::rename(orphan.record, aside / orphan.record.filename(), recordEc);
    fs::remove(orphan.lock, recordEc);
    return aside;
}

void RecoveryJournal::discardOrphan(const OrphanJournal& orphan) {
    std::error_code ec;
    fs::remove(orphan.data, ec);
    fs::remove(orphan.record, ec);
    fs::remove(orphan.lock, ec);
}

} // namespace morvik
