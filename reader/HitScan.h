#pragma once
// Every place a search text occurs in a document's chunks, in text order. The text is GB or BIG5
// bytes, so a hit begins where a character begins (a trail byte can be an ASCII letter or any
// other single-byte code), and letter case is folded only for single-byte letters, never for
// trail bytes. A hit may run on into the chunks after its own.
#include "DocumentStore.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A place in the shown text: the chunk (1-based, as in the store) and a byte in it; for a hit,
// where the hit begins.
struct ChunkPlace {
    int Chunk = 1;
    std::uint32_t Offset = 0;

    auto operator<=>(const ChunkPlace&) const = default;
};

// "A" to "Z" as "a" to "z", only where a character of one byte stands; the two bytes of a
// double-byte character are kept as they are.
std::string FoldLetters(std::string_view text);

class HitScan {
public:
    // `pattern` is not empty; the chunks outlive the scan.
    HitScan(const std::vector<Chunk>& chunks, std::string_view pattern, bool matchCase);
    ~HitScan();

    // Hands each hit that begins in chunks first to last (from byte `from` of chunk `first` on, a
    // character start)
    // to `take`, in order, until `take` returns true. Each chunk is folded at most once.
    void Run(int first, std::size_t from, int last, const std::function<bool(ChunkPlace)>& take);

private:
    class Matcher;
    class CharStarts;

    bool InChunk(int k, std::size_t from, const std::function<bool(ChunkPlace)>& take);
    bool AcrossBorder(int k, std::size_t from, CharStarts& starts,
                      const std::function<bool(ChunkPlace)>& take);
    std::string_view Text(int k) const { return *Chunks[k - 1]; }

    const std::vector<Chunk>& Chunks;
    std::unique_ptr<Matcher> Match;
    std::string Buffer; // one chunk's folded bytes, reused for every chunk
};
