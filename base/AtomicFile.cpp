#include "AtomicFile.h"

#include "FileTest.h"
#include "SaveTemporary.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Pieces = std::vector<std::string_view>;
using BeforePiece = std::function<void(std::size_t)>;

// 0, or the errno of the write that failed.
int WriteAll(int fd, const Pieces& pieces, const BeforePiece& beforePiece) {
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (beforePiece)
            beforePiece(i);
        for (std::string_view bytes = pieces[i]; !bytes.empty();) {
            const ssize_t n = ::write(fd, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return n < 0 ? errno : EIO;
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
    }
    return 0;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void SyncFolderOf(const std::string& path) {
    const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A link is written through, as any editor does: the file it points at is replaced, the link
// stays.
std::string ResolveLink(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    return RealPath(path);
}

// Why an existing target may not be written at all, if it may not.
std::optional<int> Refusal(const std::string& path, const struct stat& st) {
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    if (!S_ISREG(st.st_mode))
        return NotARegularFile;
    if ((st.st_mode & 0222) == 0)
        return EACCES;
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        return errno;
    return std::nullopt;
}

std::size_t TotalSize(const Pieces& pieces) {
    std::size_t total = 0;
    for (const std::string_view piece : pieces)
        total += piece.size();
    return total;
}

// Overwrites the file from its start and cuts it to the new length. The room is reserved
// first; where the file system cannot reserve, the writing finds out.
int WriteInPlace(const std::string& path, const Pieces& pieces, const BeforePiece& beforePiece) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const auto total = static_cast<off_t>(TotalSize(pieces));
    struct stat st;
    int error = ::fstat(fd, &st) == 0 ? 0 : errno;
    if (!error && total > st.st_size && ::fallocate(fd, 0, 0, total) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS) {
        error = errno;
        (void)!::ftruncate(fd, st.st_size); // give back what was reserved
    }
    if (!error)
        error = WriteAll(fd, pieces, beforePiece);
    if (!error && ::ftruncate(fd, total) != 0)
        error = errno;
    if (!error && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    return error;
}

// Gives the temporary file the target's mode, owner and group; false when it cannot stand in
// for the target with them.
bool TakeOver(int fd, const struct stat* target) {
    if (!target)
        return ::fchmod(fd, NewFileMode()) == 0;
    struct stat own;
    if (::fstat(fd, &own) != 0)
        return false;
    if ((own.st_uid != target->st_uid || own.st_gid != target->st_gid) &&
        ::fchown(fd, target->st_uid, target->st_gid) != 0)
        return false;
    return ::fchmod(fd, target->st_mode & 07777) == 0;
}

// The temporary file, written and flushed, replaces the target. Nothing when there is no
// temporary file to be had or it cannot take the target's owner: the caller then writes in
// place.
std::optional<int> Replace(const std::string& path, const struct stat* target,
                           const Pieces& pieces, const BeforePiece& beforePiece) {
    const SaveTemporary temp = MakeSaveTemporary(path);
    if (temp.Fd < 0)
        return target ? std::nullopt : std::optional<int>(temp.Error);
    if (!TakeOver(temp.Fd, target)) {
        ::unlink(temp.Path.c_str());
        ::close(temp.Fd);
        return std::nullopt;
    }
    int error = WriteAll(temp.Fd, pieces, beforePiece);
    if (!error && ::fsync(temp.Fd) != 0)
        error = errno;
    if (!error && ::rename(temp.Path.c_str(), path.c_str()) != 0)
        error = errno;
    if (error)
        ::unlink(temp.Path.c_str());
    ::close(temp.Fd); // after the rename: the lock tells other saves the file is in use
    if (!error)
        SyncFolderOf(path);
    return error;
}

} // namespace

int WriteWholeFile(const std::string& given, const Pieces& pieces,
                   const BeforePiece& beforePiece) {
    if (given.empty() || given.find('\0') != std::string::npos || given.back() == '/')
        return ENOENT;
    const std::string path = ResolveLink(given);
    struct stat st;
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        return errno;
    if (exists)
        if (const std::optional<int> refused = Refusal(path, st))
            return *refused;
    if (!exists || st.st_nlink == 1)
        if (const std::optional<int> replaced = Replace(path, exists ? &st : nullptr, pieces,
                                                        beforePiece))
            return *replaced;
    return WriteInPlace(path, pieces, beforePiece);
}
