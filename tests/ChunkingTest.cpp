// test-links: mojuan_text
#include "text/Chunking.h"
#include "text/GbkText.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

namespace {

std::string Join(const std::vector<std::string_view>& chunks) {
    std::string s;
    for (std::string_view c : chunks)
        s += c;
    return s;
}

// "a" followed by 一 (A4 40) pairs: every pair starts at an odd offset, so a cut at an even
// offset inside the pairs would split one.
std::string OffByOne(std::size_t size) {
    std::string s = "a";
    while (s.size() < size)
        s += "\xA4\x40";
    s.resize(size);
    return s;
}

std::set<std::size_t> CharacterStarts(std::string_view text) {
    std::set<std::size_t> starts;
    for (std::size_t pos = 0; pos < text.size(); pos += gbk::CharAt(text, pos).Length)
        starts.insert(pos);
    return starts;
}

TEST(ChunkingTest, CountIsSizeOverChunkSizeRoundedUpWithinTheLimit) {
    EXPECT_EQ(ChunkCountFor(0), 1u);
    EXPECT_EQ(ChunkCountFor(1), 1u);
    EXPECT_EQ(ChunkCountFor(250000), 1u);
    EXPECT_EQ(ChunkCountFor(250001), 2u);
    EXPECT_EQ(ChunkCountFor(22250000), 89u);
    EXPECT_EQ(ChunkCountFor(22250001), 89u);
    EXPECT_EQ(ChunkCountFor(22250001, NoChunkLimit), 90u);
}

TEST(ChunkingTest, EmptyTextIsOneEmptyChunk) {
    const auto chunks = CutChunks("");
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_TRUE(chunks[0].empty());
}

TEST(ChunkingTest, CutsFallEveryChunkSizeBytesBetweenCharacters) {
    const std::string text(600000, 'x');
    const auto chunks = CutChunks(text);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].size(), 250000u);
    EXPECT_EQ(chunks[1].size(), 250000u);
    EXPECT_EQ(chunks[2].size(), 100000u);
}

TEST(ChunkingTest, CutThatWouldSplitACharacterMovesOneByteBack) {
    const std::string text = OffByOne(300000);
    const auto chunks = CutChunks(text);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].size(), 249999u);
    EXPECT_EQ(chunks[1].substr(0, 2), "\xA4\x40");
    EXPECT_EQ(Join(chunks), text);
}

TEST(ChunkingTest, FourByteCharacterCutAnywhereGoesWholeToTheNextChunk) {
    const std::string emoji = "\x94\x39\xFC\x36"; // U+1F600 in GB18030
    for (std::size_t lead = 0; lead < 4; ++lead) {
        std::string text(lead, 'a');
        while (text.size() < 300000)
            text += emoji;
        const auto chunks = CutChunks(text);
        ASSERT_EQ(chunks.size(), 2u);
        EXPECT_EQ((chunks[0].size() - lead) % 4, 0u) << lead;
        EXPECT_GE(chunks[0].size(), 249997u);
        EXPECT_EQ(chunks[1].substr(0, 4), emoji) << lead;
    }
}

TEST(ChunkingTest, CutNeverSeparatesCrFromLf) {
    std::string text(249999, 'a');
    text += "\r\nrest";
    const auto chunks = CutChunks(text);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].size(), 249999u);
    EXPECT_EQ(chunks[1], "\r\nrest");
    // A lone CR at the cut has no LF to keep.
    text[250000] = 'b';
    EXPECT_EQ(CutChunks(text)[0].size(), 250000u);
}

TEST(ChunkingTest, PairsAreCountedFromTheChunkStartWithoutALineBreakNearby) {
    // No byte that ends a character for sure: only the walk from the start tells the pairs.
    std::string even(300000, '\xA4');
    EXPECT_EQ(CutChunks(even)[0].size(), 250000u);
    EXPECT_EQ(CutChunks("\r" + even)[0].size(), 249999u);
    EXPECT_EQ(CutChunks("\r\n" + even)[0].size(), 250000u);
}

TEST(ChunkingTest, LargestDocumentStaysAtTheChunkLimit) {
    const std::string text = OffByOne(22250000);
    const auto chunks = CutChunks(text);
    ASSERT_EQ(chunks.size(), 89u);
    EXPECT_EQ(Join(chunks), text);
    for (std::size_t k = 0; k + 1 < chunks.size(); ++k)
        EXPECT_GE(chunks[k].size(), 249999u);
    EXPECT_LE(chunks.back().size(), 250000u + 88u); // each moved cut shifted one byte on
}

TEST(ChunkingTest, WithoutLimitALargerTextGoesOnInChunks) {
    const std::string text(22250001, 'x');
    EXPECT_EQ(CutChunks(text).size(), 89u);
    EXPECT_EQ(CutChunks(text, NoChunkLimit).size(), 90u);
}

TEST(ChunkingTest, EveryChunkStartsACharacterOfTheWholeText) {
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> pick(0, 99), high(0x81, 0xFE), digit('0', '9'), any(0, 255);
    for (int round = 0; round < 4; ++round) {
        std::string text;
        while (text.size() < 1100000) {
            const int p = pick(rng);
            if (p < 3)
                text += "\r\n";
            else if (p < 80)
                text.push_back(static_cast<char>(high(rng)));
            else if (p < 90) // with the byte before, often a four-byte character
                text.push_back(static_cast<char>(digit(rng)));
            else
                text.push_back(static_cast<char>(any(rng)));
        }
        const auto starts = CharacterStarts(text);
        const auto chunks = CutChunks(text);
        ASSERT_EQ(Join(chunks), text);
        for (std::string_view c : chunks) {
            EXPECT_TRUE(starts.count(static_cast<std::size_t>(c.data() - text.data())));
            EXPECT_LE(c.size(), 250000u);
        }
    }
}

} // namespace
