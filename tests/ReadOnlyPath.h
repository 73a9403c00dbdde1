#pragma once
// Makes a file or folder impossible to change for the length of a test, also when the tests run
// as root, whom permission bits do not stop: root gets the immutable attribute, other users a
// mode without write permission. Check Active() and skip when neither worked.
#include <fcntl.h>
#include <linux/fs.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

class ReadOnlyPath {
public:
    explicit ReadOnlyPath(std::string path) : Path(std::move(path)) {
        struct stat st;
        if (stat(Path.c_str(), &st) != 0)
            return;
        Mode = st.st_mode & 07777;
        if (geteuid() == 0)
            IsActive = SetImmutable(true);
        else
            IsActive = chmod(Path.c_str(), Mode & ~0222) == 0;
    }
    ~ReadOnlyPath() {
        if (!IsActive)
            return;
        if (geteuid() == 0)
            SetImmutable(false);
        else
            chmod(Path.c_str(), Mode);
    }
    ReadOnlyPath(const ReadOnlyPath&) = delete;
    ReadOnlyPath& operator=(const ReadOnlyPath&) = delete;
    bool Active() const { return IsActive; }

private:
    bool SetImmutable(bool on) {
        int fd = open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return false;
        int flags = 0;
        bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        close(fd);
        return ok;
    }

    std::string Path;
    mode_t Mode = 0;
    bool IsActive = false;
};
