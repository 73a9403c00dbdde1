#include "Chunking.h"

#include "GbkText.h"

#include <algorithm>

// The walk starts at the last byte before the cut that cannot stand inside a character, since
// such a byte always begins one; usually that is the line break a few bytes back, so finding the
// cut does not walk the whole chunk. A character the cut would split goes to the next chunk.
std::size_t ChunkLength(std::string_view text) {
    const std::size_t cut = ChunkSize;
    std::size_t pos = cut;
    while (pos > 0 && gbk::MayFollowLead(static_cast<unsigned char>(text[pos - 1])))
        --pos;
    pos = pos > 0 ? pos - 1 : 0;
    std::size_t start = pos;
    while (pos < cut) {
        start = pos;
        pos += gbk::CharLength(text, pos);
    }
    if (pos != cut)
        return start;
    // Each chunk's line ends are normalised by themselves: a CR at the end of one chunk and the
    // LF starting the next would become two line breaks, so the pair stays together.
    if (text[cut - 1] == '\r' && cut < text.size() && text[cut] == '\n')
        return cut - 1;
    return cut;
}

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
        const std::size_t length = ChunkLength(bytes.substr(start));
        chunks.push_back(bytes.substr(start, length));
        start += length;
    }
    chunks.push_back(bytes.substr(start));
    return chunks;
}
