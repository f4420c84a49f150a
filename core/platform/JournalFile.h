#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// The folder a program keeps what must survive a crash in: $XDG_STATE_HOME/vorn/
// (~/.local/state/vorn/), ending in "/"; empty when neither is set.
std::string StateFolder();

// What tells that a file is still the one it was: its size and the time it was last
// changed, in nanoseconds.
struct FileIdentity {
    int64_t Size = 0;
    int64_t ChangedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};
// The identity of `name` (resolved as every key file is), or nothing when it is gone.
std::optional<FileIdentity> IdentityOf(const std::string& name);

// A file that a running program keeps up to date so that the next start can find what
// it was doing when it did not end normally: one per process, in a folder shared by every
// process of the user, next to a lock that the process holds while it runs. The journal
// is replaced whole at every write (a new file renamed over it), so a crash at any moment
// leaves the old one or the new one, never a torn one; flushing it to the disk is a step
// of its own (Sync), for the caller to make off the user's path.
class JournalFile {
public:
    JournalFile() = default;
    // Lets the lock go; the journal stays, for the next start to find.
    ~JournalFile();
    JournalFile(const JournalFile&) = delete;
    JournalFile& operator=(const JournalFile&) = delete;

    // Takes a journal name of its own in `folder` (made when missing) and locks it.
    // Throws IoError naming the folder.
    void Open(const std::string& folder);
    bool IsOpen() const { return lock_ >= 0; }
    // The journal's file (which may not exist yet).
    const std::string& Path() const { return path_; }

    // Replaces the journal with `bytes`. Throws IoError naming the journal; the old one
    // is then as it was.
    void Write(std::string_view bytes);
    // Flushes the journal and the rename that made it to the disk. Throws IoError.
    void Sync();
    // Removes the journal, when there is one; the lock stays.
    void Remove();
    // Removes the journal and the lock: the program ends normally.
    void Close();

    // The journals in `folder` of programs no longer running (their lock is free, or
    // gone), most recently written first.
    static std::vector<std::string> Orphans(const std::string& folder);
    // Moves `journal` aside in its folder, in place of the one set aside before, and
    // returns its new path: one journal kept, never more.
    static std::string SetAside(const std::string& journal);
    // Removes `journal`, an orphan whose identification was taken over, and its lock.
    static void Discard(const std::string& journal);
    // The journal set aside in `folder`, or an empty string; and its removal.
    static std::string Aside(const std::string& folder);
    static void RemoveAside(const std::string& folder);

    // Fault injection for tests: `fault` is called before each step of every later write
    // of a journal ("create", "write", "rename", "sync"); a nonzero return fails that
    // step as the system would with that errno value. Returns the one it replaces.
    using WriteFault = std::function<int(std::string_view step)>;
    static WriteFault SetWriteFault(WriteFault fault);

private:
    int lock_ = -1;
    std::string lockPath_;
    std::string path_;
};

}  // namespace vorn
