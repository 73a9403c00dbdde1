#include "FilePreview.h"

#include "UnZip32.h"
#include "ZipPrev.h"
#include "text/AsciiCase.h"
#include "text/Encoding.h"
#include "text/GbkText.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Whether the name's extension, lower-cased, is `ext` (with its dot, in lower case).
bool HasExtension(std::string_view path, std::string_view ext) {
    return path.size() >= ext.size() && LowerAscii(path.substr(path.size() - ext.size())) == ext;
}

bool IsRegularFile(const std::string& path) {
    struct stat st;
    return path.find('\0') == std::string::npos && ::stat(path.c_str(), &st) == 0 &&
           S_ISREG(st.st_mode);
}

std::string ReadBeginning(const std::string& path) {
    // O_NONBLOCK: a file swapped for a pipe between the test and the open must not block.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {};
    std::string bytes;
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        bytes.resize(PreviewBytes);
        std::size_t got = 0;
        while (got < PreviewBytes) {
            const ssize_t n = ::read(fd, bytes.data() + got, PreviewBytes - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        bytes.resize(got);
    }
    ::close(fd);
    return bytes;
}

bool IsHtmlName(std::string_view path) {
    return HasExtension(path, ".htm") || HasExtension(path, ".html");
}

// The length of `text` without the start of a character cut by its very end: a lead byte, or a
// lead byte and a digit (and a lead byte) that begin a four-byte character.
std::size_t WholeCharacters(std::string_view text) {
    const auto at = [text](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t length = gbk::CharLength(text, pos);
        const std::size_t left = text.size() - pos;
        if (length == 1 && left <= 3 && gbk::IsLeadByte(at(pos)) &&
            (left == 1 ||
             (gbk::IsFourByteDigit(at(pos + 1)) && (left == 2 || gbk::IsLeadByte(at(pos + 2))))))
            return pos;
        pos += length;
    }
    return text.size();
}

} // namespace

std::string PreviewText(const std::string& path) {
    if (!IsRegularFile(path))
        return {};
    if (!HasExtension(path, ".zip")) {
        // A UTF-8 or UTF-16 document is shown as the book will show it, in GB; it is cut at its
        // first zero byte only then, so that UTF-16 is not cut after its first character.
        const std::string shown = ToReadingBytes(ReadBeginning(path), IsHtmlName(path));
        return shown.substr(0, shown.find('\0'));
    }
    if (!CheckUnzipDll().Ok)
        return {};
    const auto entries = ListZipEntries(path);
    return entries ? ZipPreviewText(*entries) : std::string();
}

std::u16string PreviewDisplay(std::string_view gbBytes) {
    gbBytes = gbBytes.substr(0, WholeCharacters(gbBytes));
    std::u16string shown;
    while (!gbBytes.empty()) {
        const std::size_t end = gbBytes.find_first_of("\r\n");
        shown += gbk::Decode(gbBytes.substr(0, end));
        if (end == std::string_view::npos)
            break;
        shown += u'\n';
        const bool crlf =
            gbBytes[end] == '\r' && end + 1 < gbBytes.size() && gbBytes[end + 1] == '\n';
        gbBytes.remove_prefix(end + (crlf ? 2 : 1));
    }
    return shown;
}
