#include "SaveTemporary.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view Mark = ".mojuan-";
constexpr std::size_t RandomLength = 6; // what mkostemp puts in place of XXXXXX

bool IsTemporaryName(std::string_view name) {
    if (name.size() < 2 + Mark.size() + RandomLength || name[0] != '.')
        return false;
    const std::string_view tail = name.substr(name.size() - RandomLength);
    const std::string_view mark = name.substr(name.size() - RandomLength - Mark.size(), Mark.size());
    for (const char c : tail)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return false;
    return mark == Mark;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether the file `name` in `dir` was left by a save that never ended: a regular file of this
// user whose lock nobody holds. The lock is kept while the file is removed.
bool RemoveIfStale(int dir, const char* name) {
    const int fd = ::openat(dir, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat opened, named;
    const bool stale = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
                       opened.st_uid == ::geteuid() && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                       ::fstatat(dir, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
                       SameFile(opened, named) && ::unlinkat(dir, name, 0) == 0;
    ::close(fd);
    return stale;
}

} // namespace

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

int RemoveStaleSaveTemporaries(const std::string& folder) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir)
        return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir.get()))
        if (IsTemporaryName(entry->d_name) && RemoveIfStale(::dirfd(dir.get()), entry->d_name))
            ++removed;
    return removed;
}

SaveTemporary MakeSaveTemporary(const std::string& target) {
    const std::string folder = FolderOf(target);
    RemoveStaleSaveTemporaries(folder);
    const std::size_t slash = target.rfind('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    const std::string pattern =
        (folder == "/" ? "/" : folder + "/") + "." + name + std::string(Mark) + "XXXXXX";
    // Another save's clean-up may take the new file for a stale one in the moment before it is
    // locked; it is then gone, and a new one is made.
    for (int attempt = 0; attempt < 3; ++attempt) {
        SaveTemporary made{-1, pattern};
        made.Fd = ::mkostemp(made.Path.data(), O_CLOEXEC);
        if (made.Fd < 0)
            return {-1, {}, errno};
        // A folder whose file system has no locks keeps the file unlocked; nobody can lock it
        // there to remove it either.
        const bool locked = ::flock(made.Fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
        struct stat opened, named;
        if (locked && ::fstat(made.Fd, &opened) == 0 &&
            ::lstat(made.Path.c_str(), &named) == 0 && SameFile(opened, named))
            return made;
        ::close(made.Fd);
    }
    return {-1, {}, EEXIST};
}
