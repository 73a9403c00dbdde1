#include "TempDir.h"

#include "base/Fd.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr int DirOpenFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

bool SetError(std::string* error, const std::string& text) {
    if (error)
        *error = text;
    return false;
}

// Opens (creating if missing) one private directory below `parent`. O_NOFOLLOW and the checks
// on the opened descriptor mean a link or someone else's folder planted under that name is
// refused rather than used.
int OpenPrivateDir(int parent, const std::string& name, const std::string& shown,
                   std::string* error) {
    if (mkdirat(parent, name.c_str(), 0700) != 0 && errno != EEXIST)
        return SetError(error, shown + ": " + std::strerror(errno)), -1;
    Fd fd(openat(parent, name.c_str(), DirOpenFlags));
    if (fd.Get() < 0)
        return SetError(error, shown + ": " + std::strerror(errno)), -1;
    struct stat st;
    if (fstat(fd.Get(), &st) != 0 || !S_ISDIR(st.st_mode))
        return SetError(error, shown + ": 不是文件夹"), -1;
    if (st.st_uid != geteuid())
        return SetError(error, shown + ": 属于其他用户"), -1;
    if ((st.st_mode & 07777) != 0700 && fchmod(fd.Get(), 0700) != 0)
        return SetError(error, shown + ": " + std::strerror(errno)), -1;
    return fd.Release();
}

// A file system object, told apart from every other.
using FileId = std::pair<dev_t, ino_t>;

std::optional<FileId> IdAt(int dir, const char* name) {
    struct stat st;
    if (fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return FileId{st.st_dev, st.st_ino};
}

// Removes what can be removed at once in the folder open as `dir`: its files and links, and
// its empty folders. Gives the name of a folder in it that still has contents and is not among
// `stuck` (folders that could not be emptied), or "" when there is none; `all` turns false when
// anything stays.
std::string ClearLevel(int dir, const std::set<FileId>& stuck, bool& all) {
    int listing = dup(dir);
    DIR* stream = listing >= 0 ? fdopendir(listing) : nullptr;
    if (!stream) {
        if (listing >= 0)
            close(listing);
        all = false;
        return {};
    }
    // The listing shares its offset with `dir`, which an earlier listing left at its end.
    rewinddir(stream);
    std::string next;
    while (dirent* entry = readdir(stream)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        struct stat st;
        if (fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            all = all && errno == ENOENT;
            continue;
        }
        if (!S_ISDIR(st.st_mode)) {
            all = unlinkat(dir, name, 0) == 0 && all;
        } else if (unlinkat(dir, name, AT_REMOVEDIR) != 0) {
            if (stuck.count({st.st_dev, st.st_ino}))
                all = false;
            else if (next.empty())
                next = name;
        }
    }
    closedir(stream);
    return next;
}

// Empties the directory open as `root`; true when nothing is left in it. However deep the tree,
// one folder is held open at a time: the walk goes down into a folder by its name and back up
// through "..", which must lead to the very folder it came from, or the walk stops there.
bool RemoveContents(int root) {
    struct Above {
        FileId Id;
        std::string Name; // of the folder below it on the way down
    };
    Fd dir(dup(root));
    std::optional<FileId> here = IdAt(dir.Get(), ".");
    if (dir.Get() < 0 || !here)
        return false;
    std::vector<Above> path;
    std::set<FileId> stuck;
    bool all = true;
    while (true) {
        const std::string next = ClearLevel(dir.Get(), stuck, all);
        if (!next.empty()) {
            const std::optional<FileId> child = IdAt(dir.Get(), next.c_str());
            Fd below(child ? openat(dir.Get(), next.c_str(), DirOpenFlags) : -1);
            if (below.Get() < 0) {
                // Listed again, it counts as what could not be removed; gone, as removed.
                if (child)
                    stuck.insert(*child);
                continue;
            }
            path.push_back({*here, next});
            here = child;
            dir = std::move(below);
            continue;
        }
        if (path.empty())
            return all;
        Fd up(openat(dir.Get(), "..", DirOpenFlags));
        if (up.Get() < 0 || IdAt(up.Get(), ".") != path.back().Id)
            return false;
        if (unlinkat(up.Get(), path.back().Name.c_str(), AT_REMOVEDIR) != 0)
            stuck.insert(*here);
        here = path.back().Id;
        path.pop_back();
        dir = std::move(up);
    }
}

} // namespace

std::string CurrentDir() {
    std::string buffer(4096, '\0');
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE || buffer.size() > (1u << 20))
            return {};
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(std::strlen(buffer.c_str()));
    return buffer;
}

bool ChangeDir(const std::string& path) {
    return !path.empty() && chdir(path.c_str()) == 0;
}

std::string TempDirPath() {
    std::string base = "/tmp";
    if (const char* tmp = std::getenv("TMPDIR"); tmp && tmp[0] == '/')
        base = tmp;
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    if (base == "/")
        base.clear();
    return base + "/mojuan-" + std::to_string(geteuid()) + "/zip";
}

bool PrepareTempDir(const std::string& path, std::string* error) {
    std::size_t slash = path.rfind('/');
    std::size_t parentSlash =
        slash == std::string::npos || slash == 0 ? std::string::npos : path.rfind('/', slash - 1);
    if (slash + 1 >= path.size() || parentSlash == std::string::npos)
        return SetError(error, path + ": 不是可用的临时文件夹");
    std::string base = parentSlash == 0 ? "/" : path.substr(0, parentSlash);
    Fd baseFd(open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (baseFd.Get() < 0)
        return SetError(error, base + ": " + std::strerror(errno));
    std::string parentName = path.substr(parentSlash + 1, slash - parentSlash - 1);
    Fd parent(OpenPrivateDir(baseFd.Get(), parentName, path.substr(0, slash), error));
    if (parent.Get() < 0)
        return false;
    Fd leaf(OpenPrivateDir(parent.Get(), path.substr(slash + 1), path, error));
    return leaf.Get() >= 0;
}

bool DeleteDir(const std::string& path) {
    struct stat st;
    if (path.empty() || lstat(path.c_str(), &st) != 0)
        return path.empty() || errno == ENOENT;
    if (!S_ISDIR(st.st_mode))
        return unlink(path.c_str()) == 0;
    Fd dir(open(path.c_str(), DirOpenFlags));
    if (dir.Get() < 0)
        return false;
    bool emptied = RemoveContents(dir.Get());
    return emptied && rmdir(path.c_str()) == 0;
}
