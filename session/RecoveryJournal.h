#pragma once
// A copy of the unsaved data set on disk, so that a crash, a kill or a power cut costs at
// most the reading being typed.
//
// Each running program owns one journal in the state folder, named after its process:
//   <id>.stl   the whole data set in the record layout, replaced atomically
//   <id>.info  which file the data belong to, when they were written, process, version
//   <id>.lock  held locked for the life of the process; a journal whose lock can be taken
//              belongs to a process that has ended and is offered for recovery. The program
//              that offers it takes the same lock first (OrphanClaim), so two programs
//              started together never offer the same journal.
// Writing happens on a thread of its own: update() only hands over the bytes.

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace morvik {

struct DataSet;

// The record beside the copy.
struct JournalRecord {
    std::string filePath;       // the data file the set belongs to; empty when untitled
    std::string fileName;       // the name in the title, "新文件.stl" when untitled
    std::int64_t writtenAt = 0; // seconds since the epoch
    std::int64_t processId = 0;
    std::string version;
};

std::string encodeJournalRecord(const JournalRecord& record);
std::optional<JournalRecord> decodeJournalRecord(const std::string& text);

// A journal left by a process that no longer runs.
struct OrphanJournal {
    std::filesystem::path data;   // <id>.stl
    std::filesystem::path record; // <id>.info
    std::filesystem::path lock;   // <id>.lock, free since its process ended
    std::optional<JournalRecord> info;
};

// This process's hold on an orphan while it offers it: the orphan's lock, taken as its
// owner held it. Another program looking for orphans meanwhile sees the journal as live and
// passes it by; the operating system frees the lock when this process ends, however it ends,
// so a claim that died with its program is taken over by the next one.
class OrphanClaim {
public:
    // Takes the lock without waiting. Not held when another process holds it or when the
    // journal is gone (taken over and deleted or moved aside by a program that held it).
    explicit OrphanClaim(const OrphanJournal& orphan);
    // Frees the lock, and deletes the lock file once its journal is gone.
    ~OrphanClaim();
    OrphanClaim(const OrphanClaim&) = delete;
    OrphanClaim& operator=(const OrphanClaim&) = delete;

    bool held() const { return lock_ >= 0; }

private:
    std::filesystem::path data_;
    std::filesystem::path lockPath_;
    int lock_ = -1;
};

class RecoveryJournal {
public:
    // Creates `folder` when needed and claims a journal name for this process. When the
    // folder cannot be used, the journal stays inactive and every call does nothing.
    RecoveryJournal(std::filesystem::path folder, std::string version);
    // Finishes a write in progress; the journal on disk stays (an unclean end keeps it).
    ~RecoveryJournal();
    RecoveryJournal(const RecoveryJournal&) = delete;
    RecoveryJournal& operator=(const RecoveryJournal&) = delete;

    bool active() const { return lock_ >= 0; }
    const std::filesystem::path& dataPath() const { return dataPath_; }
    const std::filesystem::path& recordPath() const { return recordPath_; }

    // Hands the file image of the data set and its record to the writer and returns at
    // once; when several arrive before the writer gets to them, the latest wins.
    void update(std::vector<std::uint8_t> image, JournalRecord record);
    // The data set is saved or given up: drops what is pending and deletes the journal.
    void remove();
    // Waits until everything handed over is on disk (or removed).
    void flush();

    // Journals in `folder` whose process has ended and that no other program has claimed,
    // newest first. Claim one (OrphanClaim) before offering it.
    static std::vector<OrphanJournal> findOrphans(const std::filesystem::path& folder);
    // Reads an orphan's data set; false when it is damaged or incomplete (nothing loaded).
    static bool readOrphan(const OrphanJournal& orphan, DataSet& data);
    // Deletes an orphan whose data have been taken over.
    static void discardOrphan(const OrphanJournal& orphan);
    // Moves an orphan's files into `folder`/aside, keeping them; returns that folder, or
    // nothing when they could not be moved.
    static std::optional<std::filesystem::path> moveAside(const OrphanJournal& orphan,
                                                          const std::filesystem::path& folder);

private:
    struct Pending {
        std::vector<std::uint8_t> image;
        std::string record;
    };
    void run();
    void writeNow(const Pending& pending);

    std::filesystem::path folder_;
    std::filesystem::path dataPath_;
    std::filesystem::path recordPath_;
    std::filesystem::path lockPath_;
    std::string version_;
    int lock_ = -1;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<Pending> pending_;
    bool removeRequested_ = false;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread writer_;
};

} // namespace morvik
