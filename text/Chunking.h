#pragma once
// How a document's bytes are cut into the chunks that every pass works on, one by one. The
// reader's file opening and the command-line tool share it, so that the tool converts exactly
// the chunks the reader would show.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

inline constexpr std::size_t ChunkSize = 250000;
inline constexpr std::size_t MaxChunks = 89;
// The largest document (and library file) the reader takes: 89 full chunks, 22250000 bytes.
inline constexpr std::int64_t MaxDocumentBytes = std::int64_t{ChunkSize} * MaxChunks;
inline constexpr std::size_t NoChunkLimit = std::numeric_limits<std::size_t>::max();

// size / ChunkSize rounded up, kept within 1 to maxChunks.
std::size_t ChunkCountFor(std::size_t size, std::size_t maxChunks = MaxChunks);

// The length of a chunk that starts at text[0] when more text follows: ChunkSize, or up to three
// bytes less where that cut would fall inside a character of two or four bytes, or one byte
// less where it would fall between the CR and the LF of a line break. `text` must reach at
// least one byte past the cut.
std::size_t ChunkLength(std::string_view text);

// ChunkCountFor(bytes.size()) chunks in order, together all of `bytes`. Every chunk but the
// last ends where ChunkLength puts its end (characters walked as gbk::CharLength walks them); the
// last chunk takes the rest, so with the limit reached it may hold more than ChunkSize bytes.
std::vector<std::string_view> CutChunks(std::string_view bytes, std::size_t maxChunks = MaxChunks);
