#include "OpenFile.h"

#include "ReadingChunks.h"
#include "base/Fd.h"
#include "base/FileTest.h"
#include "base/MappedFile.h"
#include "base/ReadFailure.h"
#include "text/Chunking.h"
#include "text/Gb2Big5.h"
#include "text/RtfReader.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr char OpenCaption[] = "打开文件";

OpenedFile Failure(const std::string& path, const std::string& reason) {
    return {std::nullopt, WarningMessage(OpenFailedText(path, reason))};
}

// Appends up to `want` bytes to `buffer`; false on a read error. Stops early at end of file.
bool ReadSome(int fd, std::string& buffer, std::size_t want) {
    const std::size_t start = buffer.size();
    buffer.resize(start + want);
    std::size_t got = 0;
    while (got < want) {
        const ssize_t n = ::read(fd, buffer.data() + start + got, want - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            buffer.resize(start + got);
            return false;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    buffer.resize(start + got);
    return true;
}

// Reads a plain file chunk by chunk, each cut where the whole-file cut would fall. Each chunk
// is read straight into its own bytes; the few bytes read past its cut start the next one.
std::optional<std::vector<Chunk>> ReadChunks(int fd, std::size_t size, ProgressWindow& progress,
                                             int& error) {
    const std::size_t count = ChunkCountFor(size);
    std::vector<Chunk> chunks;
    chunks.reserve(count);
    std::string carried;
    std::size_t consumed = 0;
    progress.InitShowMess(0, static_cast<int>(count), OpenCaption);
    for (std::size_t k = 1; k <= count; ++k) {
        progress.ShowMessPos(static_cast<int>(k));
        const bool last = k == count;
        // Three bytes past the cut decide whether the cut splits a character of four bytes.
        const std::size_t want = last ? size - consumed : std::min(ChunkSize + 3, size - consumed);
        std::string chunk = std::exchange(carried, {});
        if (chunk.size() < want && !ReadSome(fd, chunk, want - chunk.size())) {
            error = errno;
            progress.CloseShowMess();
            return std::nullopt;
        }
        if (!last && chunk.size() > ChunkSize) {
            const std::size_t length = ChunkLength(chunk);
            carried.assign(chunk, length);
            chunk.resize(length);
        }
        consumed += chunk.size();
        chunks.push_back(MakeChunk(std::move(chunk)));
    }
    progress.CloseShowMess();
    return chunks;
}

// The chunks of a plain file as views into the file mapped into memory, cut as ReadChunks cuts
// them: nothing is copied, and the text stays in the system's file cache. Nothing when the file
// cannot be mapped.
std::optional<std::vector<Chunk>> MapChunks(int fd, std::size_t size) {
    std::shared_ptr<const MappedFile> file = MappedFile::Map(fd, size);
    if (!file)
        return std::nullopt;
    std::vector<Chunk> chunks;
    for (std::string_view part : CutChunks(file->Bytes()))
        chunks.push_back(std::make_shared<const ChunkBytes>(file, part));
    return chunks;
}

std::optional<std::vector<Chunk>> ReadRtf(int fd, std::size_t size, ProgressWindow& progress,
                                          int& error) {
    std::string rtf;
    if (!ReadSome(fd, rtf, size)) {
        error = errno;
        return std::nullopt;
    }
    const std::string text = RtfToText(rtf, [](std::string_view big5) { return Big5ToGb(big5); });
    std::vector<std::string_view> parts = CutChunks(text, NoChunkLimit);
    // Text beyond the last chunk the store can hold is dropped.
    if (parts.size() > MaxChunks)
        parts.resize(MaxChunks);
    progress.InitShowMess(0, static_cast<int>(parts.size()), OpenCaption);
    std::vector<Chunk> chunks;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        progress.ShowMessPos(static_cast<int>(k + 1));
        chunks.push_back(MakeChunk(std::string(parts[k])));
    }
    progress.CloseShowMess();
    return chunks;
}

// The error that keeps an opened file from being read as a document, 0 when there is none.
int RegularFileError(int fd, struct stat& st) {
    if (fd < 0 || ::fstat(fd, &st) != 0)
        return errno;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    return S_ISREG(st.st_mode) ? 0 : ENODEV;
}

} // namespace

OpenedFile OpenFile(const std::string& path, ProgressWindow& progress, EncodingChoice choice) {
    if (std::optional<UserMessage> missing = MissingFileWarning(path))
        return {std::nullopt, std::move(missing)};
    // Not blocking: a name replaced by a pipe since the test must not hang the open.
    const Fd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (const int error = RegularFileError(file.Get(), st); error != 0)
        return Failure(path, ReadFailureReason(error));
    if (st.st_size > MaxDocumentBytes)
        return {std::nullopt, InfoMessage(TooLargeText(path))};
    const auto size = static_cast<std::size_t>(st.st_size);
    int error = 0;
    const bool rtf = ExtensionIs(path, ".rtf");
    std::optional<std::vector<Chunk>> chunks;
    if (rtf)
        chunks = ReadRtf(file.Get(), size, progress, error);
    else if (!(chunks = MapChunks(file.Get(), size)))
        chunks = ReadChunks(file.Get(), size, progress, error);
    if (!chunks)
        return Failure(path, std::string(ReadErrorReason) + ReadFailureReason(error));
    if (!rtf)
        chunks = ToReadingChunks(std::move(*chunks), IsHtmlName(path), choice);
    return {std::move(chunks), std::nullopt};
}
