// test-links: mojuan_reader
#include "reader/WidthCacheFile.h"

#include "TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

namespace {

// Widths that are no whole numbers, and how often it is asked for any.
class CountingMeasurer : public FixedWidthMeasurer {
public:
    CountingMeasurer() : FixedWidthMeasurer(6.25, 12.5) {}
    double CharWidth(std::uint32_t code) override {
        ++Asked;
        return FixedWidthMeasurer::CharWidth(code);
    }
    int Asked = 0;
};

// 啊阿, "a" and a four-byte character.
const std::string Text = "\xB0\xA1\xB0\xA2"
                         "a\x81\x30\x81\x30";
constexpr std::uint32_t FourByte = 0x81308130;

void MeasureText(CharWidthCache& widths) {
    widths.Width(0xB0A1, Text);
    widths.Width(FourByte);
}

void Overwrite(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace

TEST(WidthCacheFileTest, KeptWidthsAreTakenAsMeasuredBitForBit) {
    const std::string path = WidthCachePath("key");
    EXPECT_EQ(path.rfind(std::getenv("XDG_CACHE_HOME"), 0), 0u) << path;
    CountingMeasurer first;
    CharWidthCache measured(first);
    MeasureText(measured);
    ASSERT_TRUE(SaveWidthCache(path, "key", measured)); // its folder is made

    CountingMeasurer second;
    CharWidthCache kept(second);
    ASSERT_TRUE(LoadWidthCache(path, "key", kept));
    const std::uint64_t generation = kept.Generation();
    EXPECT_EQ(kept.Width(0xB0A2, Text), 12.5f);
    EXPECT_EQ(kept.Width('a'), 6.25f);
    EXPECT_EQ(kept.Width(FourByte), 12.5f);
    EXPECT_EQ(second.Asked, 0);
    EXPECT_EQ(kept.Generation(), generation); // nothing new to write back
    EXPECT_EQ(kept.Known(), measured.Known());
}

TEST(WidthCacheFileTest, DamagedStaleOrMissingFilesAreIgnored) {
    CountingMeasurer measurer;
    CharWidthCache measured(measurer);
    MeasureText(measured);
    const std::string bytes = EncodeWidths("key", measured);
    std::string flipped = bytes;
    flipped[bytes.size() / 2] ^= 0x40;
    for (const std::string& damaged :
         {flipped, bytes.substr(0, bytes.size() - 1), bytes + "x", std::string("MJW1"), {}}) {
        CharWidthCache widths(measurer);
        EXPECT_FALSE(DecodeWidths(damaged, "key", widths));
        EXPECT_TRUE(widths.Known().empty());
    }
    CharWidthCache widths(measurer);
    EXPECT_FALSE(DecodeWidths(bytes, "another font", widths));
    EXPECT_TRUE(widths.Known().empty());

    const std::string path = WidthCachePath("missing");
    EXPECT_FALSE(LoadWidthCache(path, "missing", widths));
    ASSERT_TRUE(SaveWidthCache(path, "missing", measured));
    Overwrite(path, flipped);
    EXPECT_FALSE(LoadWidthCache(path, "missing", widths));
    // Rebuilt: the next write replaces the damaged file.
    ASSERT_TRUE(SaveWidthCache(path, "missing", measured));
    EXPECT_TRUE(LoadWidthCache(path, "missing", widths));
}
