#include "ZipPass.h"

#include "UnZip32.h"
#include "ZipHandle.h"
#include "base/Fd.h"
#include "base/ReadFailure.h"
#include "records/TempDir.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t CopyBlock = 256 * 1024;
constexpr int DirFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

std::vector<std::string> Components(std::string_view path) {
    std::vector<std::string> parts;
    while (true) {
        const std::size_t slash = path.find('/');
        parts.emplace_back(path.substr(0, slash));
        if (slash == std::string_view::npos)
            return parts;
        path.remove_prefix(slash + 1);
    }
}

// Opens the folder `name` below `parent`, making it when missing. Whatever else stands under
// that name (a file, a link from an earlier archive) is removed: the tree below the
// destination is the program's own.
Fd OpenSubdir(int parent, const std::string& name) {
    Fd dir(::openat(parent, name.c_str(), DirFlags));
    if (dir.Get() >= 0)
        return dir;
    if (errno == ENOTDIR || errno == ELOOP)
        ::unlinkat(parent, name.c_str(), 0);
    if (::mkdirat(parent, name.c_str(), 0700) != 0 && errno != EEXIST)
        return Fd();
    return Fd(::openat(parent, name.c_str(), DirFlags));
}

// The stored entry whose decoded name is `entry`: the one at `hint` when its name is that, else
// the first of that name; -1 when there is none.
zip_int64_t FindEntry(const ZipHandle& zip, const std::string& entry, std::int64_t hint) {
    const std::vector<ZipEntryName> names = EntryNamesOf(zip);
    if (hint >= 0 && static_cast<std::uint64_t>(hint) < names.size() && names[hint].Name == entry)
        return hint;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i].Name == entry)
            return static_cast<zip_int64_t>(i);
    return -1;
}

ExtractResult WriteFailure(int error) {
    return {ExtractStatus::WriteFailed, {}, WriteFailureReason(error)};
}

bool IsSymbolicLink(const ZipHandle& zip, zip_uint64_t index) {
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip.Lib().ExternalAttributes(zip.Get(), index, 0, &system, &attributes) != 0)
        return false;
    return system == ZIP_OPSYS_UNIX && S_ISLNK(static_cast<mode_t>(attributes >> 16));
}

ExtractStatus CheckEntry(const ZipHandle& zip, zip_uint64_t index) {
    zip_stat_t st;
    zip.Lib().StatInit(&st);
    if (zip.Lib().Stat(zip.Get(), index, 0, &st) != 0)
        return ExtractStatus::Damaged;
    if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
        return ExtractStatus::Encrypted;
    if (IsSymbolicLink(zip, index))
        return ExtractStatus::Link;
    return ExtractStatus::Ok;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Copies the entry's data into `out`, stopping one byte past MaxEntryBytes; a failed write
// leaves its errno in `error`.
ExtractStatus CopyEntry(const ZipHandle& zip, zip_uint64_t index, int out, int& error) {
    zip_file_t* file = zip.Lib().OpenEntry(zip.Get(), index, 0);
    if (!file) {
        const int error = zip.Lib().ErrorCode(zip.Lib().Error(zip.Get()));
        return error == ZIP_ER_NOPASSWD || error == ZIP_ER_WRONGPASSWD ? ExtractStatus::Encrypted
                                                                       : ExtractStatus::Damaged;
    }
    std::vector<char> buffer(CopyBlock);
    std::int64_t written = 0;
    ExtractStatus status = ExtractStatus::Ok;
    while (true) {
        const std::int64_t room = MaxEntryBytes + 1 - written;
        const zip_int64_t n =
            zip.Lib().Read(file, buffer.data(),
                           static_cast<zip_uint64_t>(std::min<std::int64_t>(room, CopyBlock)));
        if (n < 0) {
            status = ExtractStatus::Damaged;
            break;
        }
        if (n == 0)
            break;
        if (!WriteAll(out, buffer.data(), static_cast<std::size_t>(n))) {
            status = ExtractStatus::WriteFailed;
            error = errno;
            break;
        }
        written += n;
        if (written > MaxEntryBytes) {
            status = ExtractStatus::Cut;
            break;
        }
    }
    zip.Lib().CloseEntry(file);
    return status;
}

} // namespace

bool IsSafeEntryPath(std::string_view entry) {
    if (entry.empty() || entry.front() == '/')
        return false;
    for (char c : entry)
        if (static_cast<unsigned char>(c) < 0x20)
            return false;
    for (const std::string& part : Components(entry))
        if (part.empty() || part == "." || part == "..")
            return false;
    return true;
}

ExtractResult ExtractZipEntry(const std::string& archive, const std::string& entry,
                              const std::string& destination, std::int64_t index) {
    if (!IsSafeEntryPath(entry))
        return {ExtractStatus::Unsafe, {}, {}};
    std::vector<std::string> parts = Components(entry);
    if (parts.size() > MaxEntryFolders + 1)
        return {ExtractStatus::TooDeep, {}, {}};
    std::string tempError;
    if (!PrepareTempDir(destination, &tempError))
        return {ExtractStatus::WriteFailed, {}, tempError};
    const std::string fileName = parts.back();
    parts.pop_back();
    Fd dir(::open(destination.c_str(), DirFlags));
    for (const std::string& part : parts) {
        if (dir.Get() < 0)
            break;
        dir = OpenSubdir(dir.Get(), part);
    }
    if (dir.Get() < 0)
        return WriteFailure(errno);
    if (::unlinkat(dir.Get(), fileName.c_str(), 0) != 0 && errno != ENOENT)
        return WriteFailure(errno);

    ZipHandle zip = ZipHandle::Open(archive);
    if (!zip)
        return {ExtractStatus::NoArchive, {}, {}};
    const zip_int64_t found = FindEntry(zip, entry, index);
    if (found < 0)
        return {ExtractStatus::NotFound, {}, {}};
    const ExtractStatus check = CheckEntry(zip, static_cast<zip_uint64_t>(found));
    if (check != ExtractStatus::Ok)
        return {check, {}, {}};

    Fd out(::openat(dir.Get(), fileName.c_str(),
                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (out.Get() < 0)
        return WriteFailure(errno);
    int error = 0;
    ExtractStatus status = CopyEntry(zip, static_cast<zip_uint64_t>(found), out.Get(), error);
    if (::close(out.Release()) != 0 && status == ExtractStatus::Ok) {
        status = ExtractStatus::WriteFailed;
        error = errno;
    }
    if (status != ExtractStatus::Ok) {
        ::unlinkat(dir.Get(), fileName.c_str(), 0);
        return status == ExtractStatus::WriteFailed ? WriteFailure(error)
                                                    : ExtractResult{status, {}, {}};
    }
    return {status, destination + "/" + entry, {}};
}

std::optional<UserMessage> ExtractFailureMessage(const ExtractResult& result,
                                                 const std::string& archive,
                                                 const std::string& entry) {
    std::string reference = archive + "|" + entry;
    std::replace(reference.begin() + static_cast<std::ptrdiff_t>(archive.size()), reference.end(),
                 '/', '\\');
    const auto failed = [&](const std::string& reason) {
        return WarningMessage(OpenFailedText(reference, reason));
    };
    switch (result.Status) {
    case ExtractStatus::Ok:
        return std::nullopt;
    case ExtractStatus::Cut:
        return InfoMessage(TooLargeText(reference));
    case ExtractStatus::NoArchive:
        return WarningMessage(OpenFailedText(archive, ArchiveFailureReason(archive)));
    case ExtractStatus::Encrypted:
        return WarningMessage(OpenFailedText(archive, CheckZipPasswordReason));
    case ExtractStatus::NotFound:
        return failed("ZIP文件中没有这个文件。");
    case ExtractStatus::Unsafe:
        return failed("文件名不安全，不能解压。");
    case ExtractStatus::TooDeep:
        return failed("文件所在的目录层次太多，不能解压。");
    case ExtractStatus::Link:
        return failed("这是一个链接，不是文件。");
    case ExtractStatus::Damaged:
        return failed(DamagedArchiveReason);
    case ExtractStatus::WriteFailed:
        return failed("解压到临时文件夹时出错：" + result.Reason);
    }
    return std::nullopt;
}

ExtractedEntry ExtractForReading(const std::string& archive, const std::string& entry,
                                 std::int64_t index, const std::string& destination) {
    const ExtractResult result = ExtractZipEntry(archive, entry, destination, index);
    std::optional<UserMessage> failure = ExtractFailureMessage(result, archive, entry);
    return {failure ? std::string() : result.Path, std::move(failure)};
}
