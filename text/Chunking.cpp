#include "Chunking.h"

#include "GbkText.h"

#include <algorithm>

namespace {

// Where a chunk starting at `start` ends when more text follows: ChunkSize bytes on, unless
// that splits a character. The walk starts at the last byte before the cut that cannot be a
// second byte, since such a byte always begins a character; usually that is the line break a
// few bytes back, so finding the cut does not walk the whole chunk.
std::size_t CutAfter(std::string_view bytes, std::size_t start) {
    const std::size_t cut = start + ChunkSize;
    std::size_t pos = cut;
    while (pos > start && gbk::IsTrailByte(static_cast<unsigned char>(bytes[pos - 1])))
        --pos;
    pos = pos > start ? pos - 1 : start;
    while (pos < cut)
        pos += gbk::CharAt(bytes, pos).Length;
    return pos == cut ? cut : cut - 1;
}

} // namespace

std::size_t ChunkCountFor(std::size_t size, std::size_t maxChunks) {
    const std::size_t count = size / ChunkSize + (size % ChunkSize != 0 ? 1 : 0);
    return std::clamp<std::size_t>(count, 1, std::max<std::size_t>(maxChunks, 1));
}

std::vector<std::string_view> CutChunks(std::string_view bytes, std::size_t maxChunks) {
    const std::size_t count = ChunkCountFor(bytes.size(), maxChunks);
    std::vector<std::string_view> chunks;
    chunks.reserve(count);
    std::size_t start = 0;
    for (std::size_t k = 1; k < count; ++k) {
        const std::size_t end = CutAfter(bytes, start);
        chunks.push_back(bytes.substr(start, end - start));
        start = end;
    }
    chunks.push_back(bytes.substr(start));
    return chunks;
}
