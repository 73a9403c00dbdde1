#include "FileIo.h"

#include "Subcommands.h"
#include "text/Chunking.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Describe(const std::string& path) {
    return path == StandardStream ? std::string("standard input") : "'" + path + "'";
}

IoResult Failure(const std::string& what, int error) {
    return {false, what + ": " + std::strerror(error)};
}

IoResult ReadFd(int fd, const std::string& name, std::string& bytes, std::size_t limit) {
    struct stat info {};
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0)
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n == 0)
            return {};
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Failure("cannot read " + name, errno);
        if (static_cast<std::size_t>(n) > limit - bytes.size()) {
            bytes = std::string();
            return {false, name + " is larger than " + std::to_string(limit) + " bytes"};
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

bool WriteFd(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The mode a new file gets from open(2), or the mode of the file being replaced.
mode_t ModeFor(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        return info.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

std::string TemporaryPattern(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    return dir + "." + base + ".XXXXXX";
}

// Opening a pipe for reading waits for a writer; without O_NONBLOCK it could wait for ever. The
// reads that follow wait again, for the data.
int OpenForReading(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0)
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

} // namespace

IoResult ReadWhole(const std::string& path, std::string& bytes, std::size_t limit) {
    bytes.clear();
    const std::string name = Describe(path);
    try {
        if (path == StandardStream)
            return ReadFd(STDIN_FILENO, name, bytes, limit);
        const int fd = OpenForReading(path);
        if (fd < 0)
            return Failure("cannot open " + name, errno);
        IoResult result = ReadFd(fd, name, bytes, limit);
        close(fd);
        return result;
    } catch (const std::bad_alloc&) {
        bytes = std::string();
        return {false, "not enough memory to read " + name};
    }
}

IoResult WriteWhole(const std::string& path, std::string_view bytes) {
    if (path == StandardStream) {
        if (!WriteFd(STDOUT_FILENO, bytes))
            return Failure("cannot write standard output", errno);
        return {};
    }
    const std::string name = "'" + path + "'";
    std::string temporary = TemporaryPattern(path);
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return Failure("cannot create a file beside " + name, errno);
    const bool written = WriteFd(fd, bytes) && fchmod(fd, ModeFor(path)) == 0 && fsync(fd) == 0;
    const int error = errno;
    if (close(fd) != 0 || !written) {
        unlink(temporary.c_str());
        return Failure("cannot write " + name, written ? errno : error);
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        const int renameError = errno;
        unlink(temporary.c_str());
        return Failure("cannot write " + name, renameError);
    }
    return {};
}

int ForEachFile(const std::vector<std::string>& paths,
                const std::function<void(const std::string& path, std::string bytes)>& use) {
    int status = ExitOk;
    for (const std::string& path : paths) {
        std::string bytes;
        if (const IoResult read = ReadWhole(path, bytes, MaxDocumentBytes); !read.Ok) {
            std::cout.flush();
            std::cerr << ToolName << ": " << read.Error << '\n';
            status = ExitIoError;
            continue;
        }
        use(path, std::move(bytes));
    }
    if (!std::cout.flush()) {
        std::cerr << ToolName << ": cannot write standard output\n";
        return ExitIoError;
    }
    return status;
}
