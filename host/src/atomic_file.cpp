// Files replaced whole, through a temporary beside the target and a rename.
#include "host/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

namespace quarel_host {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
int OpenNew(const std::string& path) {
    return _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
long WriteSome(int fd, const void* data, std::size_t size) {
    const unsigned chunk = size > (1u << 30) ? (1u << 30) : static_cast<unsigned>(size);
    return _write(fd, data, chunk);
}
int SyncToDisc(int fd) {
    return _commit(fd);
}
int CloseFile(int fd) {
    return _close(fd);
}
long ProcessId() {
    return _getpid();
}
void KeepMode(int, const std::string&) {}
void SyncFolder(const std::string&) {}  // the rename itself is written through on Windows
#else
int OpenNew(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
long WriteSome(int fd, const void* data, std::size_t size) {
    return static_cast<long>(::write(fd, data, size));
}
int SyncToDisc(int fd) {
    return ::fsync(fd);
}
int CloseFile(int fd) {
    return ::close(fd);
}
long ProcessId() {
    return static_cast<long>(::getpid());
}
// A replaced file keeps its permissions (a new one gets the usual ones, through the umask).
void KeepMode(int fd, const std::string& target) {
    struct stat st;
    if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        (void)::fchmod(fd, st.st_mode & 07777);
}
// The rename is a change of the folder: flushed too, so that it survives a power cut.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}
#endif

std::string Reason(int code) {
    return std::strerror(code);
}

// The armed fault, if any, and what was written and renamed since it was armed.
struct FaultState {
    std::mutex lock;
    bool armed = false;
    WriteFault fault;
    std::int64_t bytes = 0;
    int renames = 0;
};

FaultState& Faults() {
    static FaultState state;
    return state;
}

// How many of `size` bytes may be written before the armed fault strikes; `size` if none.
std::size_t BytesAllowed(std::size_t size, int& code) {
    FaultState& f = Faults();
    std::lock_guard<std::mutex> hold(f.lock);
    if (!f.armed || f.fault.failAfterBytes < 0) return size;
    const std::int64_t left = f.fault.failAfterBytes - f.bytes;
    if (left >= static_cast<std::int64_t>(size)) {
        f.bytes += static_cast<std::int64_t>(size);
        return size;
    }
    code = f.fault.error;
    const std::size_t allowed = left > 0 ? static_cast<std::size_t>(left) : 0;
    f.bytes += static_cast<std::int64_t>(allowed);
    return allowed;
}

bool RenameFails(std::string& why) {
    FaultState& f = Faults();
    std::lock_guard<std::mutex> hold(f.lock);
    if (!f.armed) return false;
    if (f.renames++ != f.fault.failRename) return false;
    why = Reason(f.fault.error);
    return true;
}

// Renames `from` over `to`, replacing it; on failure says why.
bool RenameOver(const std::string& from, const std::string& to, std::string& why) {
    if (RenameFails(why)) return false;
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec) why = ec.message();
    return !ec;
}

std::string Folder(const std::string& target) {
    const fs::path parent = fs::path(target).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// A name beside `target` that no other writer in this or another process picks: the process
// id and a count; the file is created exclusively, so a clash only means trying the next one.
std::string SideName(const std::string& target, const char* kind) {
    static std::atomic<unsigned long> count{0};
    const fs::path p(target);
    // Appended piece by piece: MinGW's GCC 12 warns falsely (-Wrestrict) on "." + string&&.
    std::string name(".");
    name += p.filename().string();
    name += '.';
    name += kind;
    name += '-';
    name += std::to_string(ProcessId());
    name += '-';
    name += std::to_string(count++);
    return (p.parent_path() / name).string();
}

}  // namespace

void ArmWriteFaultForTesting(const WriteFault& fault) {
    FaultState& f = Faults();
    std::lock_guard<std::mutex> hold(f.lock);
    f.armed = true;
    f.fault = fault;
    f.bytes = 0;
    f.renames = 0;
}

void DisarmWriteFaultForTesting() {
    FaultState& f = Faults();
    std::lock_guard<std::mutex> hold(f.lock);
    f.armed = false;
}

AtomicFile::~AtomicFile() {
    Discard();
}

bool AtomicFile::Fail(std::string* error, const std::string& what, int code) {
    if (error) *error = what + ": " + Reason(code);
    Discard();
    return false;
}

bool AtomicFile::Open(const std::string& path, std::string* error) {
    Discard();
    mPath = path;
    mTarget = path;
    mFinished = false;
    if (path.empty()) {
        if (error) *error = "cannot write a file without a name";
        return false;
    }
    std::error_code ec;
    if (fs::is_symlink(path, ec)) {
        const fs::path real = fs::canonical(path, ec);
        if (!ec) mTarget = real.string();
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temp = SideName(mTarget, "tmp");
        mFd = OpenNew(temp);
        if (mFd >= 0) {
            mTemp = temp;
            KeepMode(mFd, mTarget);
            return true;
        }
        if (errno != EEXIST) break;
    }
    const int code = errno;
    if (error)
        *error = "cannot write " + mPath + ": cannot create a file beside it: " + Reason(code);
    return false;
}

bool AtomicFile::Write(const void* data, std::size_t size, std::string* error) {
    if (mFd < 0) {
        if (error) *error = "cannot write " + mPath + ": the file is not open";
        return false;
    }
    const auto* p = static_cast<const unsigned char*>(data);
    int fault = 0;
    const std::size_t allowed = BytesAllowed(size, fault);
    std::size_t done = 0;
    while (done < allowed) {
        const long n = WriteSome(mFd, p + done, allowed - done);
        const int code = n < 0 ? errno : EIO;
        if (n < 0 && code == EINTR) continue;
        if (n <= 0) return Fail(error, "cannot write " + mPath, code);
        done += static_cast<std::size_t>(n);
    }
    if (allowed < size) return Fail(error, "cannot write " + mPath, fault);
    return true;
}

bool AtomicFile::Finish(std::string* error) {
    if (mFinished) return true;
    if (mFd < 0) {
        if (error) *error = "cannot write " + mPath + ": the file is not open";
        return false;
    }
    if (SyncToDisc(mFd) != 0) {
        const int code = errno;
        return Fail(error, "cannot write " + mPath, code);
    }
    const int fd = mFd;
    mFd = -1;
    if (CloseFile(fd) != 0) {
        const int code = errno;
        return Fail(error, "cannot write " + mPath, code);
    }
    mFinished = true;
    return true;
}

bool AtomicFile::Commit(std::string* error) {
    if (!Finish(error)) return false;
    std::string why;
    if (!RenameOver(mTemp, mTarget, why)) {
        if (error) *error = "cannot replace " + mPath + ": " + why;
        Discard();
        return false;
    }
    mTemp.clear();
    mFinished = false;
    SyncFolder(Folder(mTarget));
    return true;
}

void AtomicFile::Discard() {
    if (mFd >= 0) {
        CloseFile(mFd);
        mFd = -1;
    }
    if (!mTemp.empty()) {
        std::error_code ec;
        fs::remove(mTemp, ec);
        mTemp.clear();
    }
    mFinished = false;
}

bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size,
                         std::string* error) {
    AtomicFile file;
    return file.Open(path, error) && file.Write(data, size, error) && file.Commit(error);
}

void AtomicFileSet::Add(std::string path, Writer writer) {
    mEntries.push_back({std::move(path), std::move(writer)});
}

bool AtomicFileSet::Commit(std::string* error) {
    // Every file is written and on disc before any target changes.
    std::vector<std::unique_ptr<AtomicFile>> files;
    for (Entry& e : mEntries) {
        auto file = std::make_unique<AtomicFile>();
        if (!file->Open(e.path, error)) return false;
        std::string why;
        if (!e.writer(*file, why)) {
            if (error) *error = why.empty() ? "cannot write " + e.path : why;
            return false;  // the temporaries go with `files`
        }
        if (!file->Finish(error)) return false;
        files.push_back(std::move(file));
    }

    // The old contents stay reachable under a second name (a hard link, which costs no copy)
    // until every target is replaced, so that a failed rename can put them back.
    std::vector<std::string> backups(files.size());
    auto dropBackups = [&backups] {
        for (const std::string& b : backups) {
            std::error_code ec;
            if (!b.empty()) fs::remove(b, ec);
        }
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& target = files[i]->mTarget;
        std::error_code ec;
        if (!fs::exists(target, ec)) continue;
        const std::string backup = SideName(target, "old");
        fs::create_hard_link(target, backup, ec);
        if (ec) {
            dropBackups();
            if (error)
                *error = "cannot replace " + files[i]->mPath +
                         ": cannot keep its old contents meanwhile: " + ec.message();
            return false;
        }
        backups[i] = backup;
    }

    for (std::size_t i = 0; i < files.size(); ++i) {
        std::string why;
        if (RenameOver(files[i]->mTemp, files[i]->mTarget, why)) {
            files[i]->mTemp.clear();
            continue;
        }
        std::string what = "cannot replace " + files[i]->mPath + ": " + why;
        // Back to the old set: the targets replaced so far get their old contents again, or
        // go if they are new.
        for (std::size_t j = 0; j < i; ++j) {
            std::string back;
            if (backups[j].empty()) {
                std::error_code ec;
                fs::remove(files[j]->mTarget, ec);
                if (ec) back = ec.message();
            } else if (RenameOver(backups[j], files[j]->mTarget, back)) {
                backups[j].clear();
            }
            if (!back.empty()) {
                what += "; " + files[j]->mPath + " could not be put back: " + back;
                if (!backups[j].empty()) {
                    what += " (its old contents are in " + backups[j] + ")";
                    backups[j].clear();  // kept for the user
                }
            }
        }
        dropBackups();
        if (error) *error = what;
        return false;
    }
    dropBackups();
    for (const auto& f : files) SyncFolder(Folder(f->mTarget));
    return true;
}

}  // namespace quarel_host
