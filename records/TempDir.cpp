#include "TempDir.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

class Fd {
public:
    explicit Fd(int fd) : Value(fd) {}
    ~Fd() {
        if (Value >= 0)
            close(Value);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return Value; }
    int Release() { return std::exchange(Value, -1); }

private:
    int Value;
};

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

// Empties the directory open as `dir`; true when nothing is left in it.
bool RemoveContents(int dir) {
    int listing = dup(dir);
    DIR* stream = listing >= 0 ? fdopendir(listing) : nullptr;
    if (!stream) {
        if (listing >= 0)
            close(listing);
        return false;
    }
    bool all = true;
    while (dirent* entry = readdir(stream)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        struct stat st;
        if (fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            all = all && errno == ENOENT;
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            Fd child(openat(dir, name, DirOpenFlags));
            bool emptied = child.Get() >= 0 && RemoveContents(child.Get());
            all = emptied && unlinkat(dir, name, AT_REMOVEDIR) == 0 && all;
        } else {
            all = unlinkat(dir, name, 0) == 0 && all;
        }
    }
    closedir(stream);
    return all;
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
