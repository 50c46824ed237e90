// Files replaced whole: the new contents go to a new file beside the target (same folder, so
// the same file system), are flushed to disc, and only then renamed over the target. A reader,
// or a crash, sees the old file or the new one, never a truncated mixture; on any failure the
// target is untouched, the temporary is removed and the error names the target and the reason.
//
// A file set does the same for several files at once: every file is written first, then all
// targets are replaced; if one replacement fails, those already replaced get their old contents
// back, so a failure leaves the old set (a crash in the middle of the renames can still leave a
// mixture: the file system has no transaction over several names).
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quarel_host {

class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();  // an uncommitted temporary is removed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates a new, uniquely named temporary beside `path`. A symbolic link at `path` is
    // followed: the file it points to is the one replaced.
    bool Open(const std::string& path, std::string* error = nullptr);
    bool Write(const void* data, std::size_t size, std::string* error = nullptr);
    // Flushes the temporary to disc and closes it; it is then ready to take the target's place.
    bool Finish(std::string* error = nullptr);
    // Finish, then the rename over the target.
    bool Commit(std::string* error = nullptr);
    // Removes the temporary; the target stays as it was.
    void Discard();

    const std::string& Path() const { return mPath; }
    const std::string& TempPath() const { return mTemp; }

private:
    friend class AtomicFileSet;
    bool Fail(std::string* error, const std::string& what, int code);

    std::string mPath;    // what the caller named
    std::string mTarget;  // what is replaced: mPath, or the file a link there points to
    std::string mTemp;
    int mFd = -1;
    bool mFinished = false;
};

// `size` bytes at `data` as the whole new contents of `path`.
bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size,
                         std::string* error = nullptr);

class AtomicFileSet {
public:
    // Writes one file's contents into its open temporary; on failure says why in `error`.
    using Writer = std::function<bool(AtomicFile& file, std::string& error)>;

    void Add(std::string path, Writer writer);
    // Writes every entry to its temporary, then replaces the targets: all of them or none.
    bool Commit(std::string* error = nullptr);

private:
    struct Entry {
        std::string path;
        Writer writer;
    };
    std::vector<Entry> mEntries;
};

// Test hook: the failures a full or failing disc brings, injected into this process's atomic
// writes. Arming resets the counts; both count from the moment of arming, over all files.
struct WriteFault {
    std::int64_t failAfterBytes = -1;  // writes fail once this many bytes went out (-1: never)
    int failRename = -1;               // the rename of this index fails (-1: none)
    int error = ENOSPC;                // the error number the failure reports
};
void ArmWriteFaultForTesting(const WriteFault& fault);
void DisarmWriteFaultForTesting();

}  // namespace quarel_host
