// test-links: mojuan_archive
#include "archive/FilePreview.h"
#include "ZipTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

TEST(FilePreviewTest, ShowsTheFirst2000BytesUpToTheFirstZero) {
    ScratchDir dir;
    WriteFile(dir / "ten.txt", "0123456789");
    EXPECT_EQ(PreviewText(dir / "ten.txt"), "0123456789");
    std::string long_;
    for (int i = 0; i < 500; ++i)
        long_ += "\xB5\xDA" + std::to_string(i % 10) + "\r";
    ASSERT_EQ(long_.size(), 2000u);
    WriteFile(dir / "long.txt", long_ + std::string(3000, 'x'));
    EXPECT_EQ(PreviewText(dir / "long.txt"), long_);
    WriteFile(dir / "zero.txt", std::string("ab\0cd", 5));
    EXPECT_EQ(PreviewText(dir / "zero.txt"), "ab");
}

TEST(FilePreviewTest, UnicodeTextsArePreviewedInGb) {
    ScratchDir dir;
    WriteFile(dir / "utf8.txt", "第一回\r\n");
    EXPECT_EQ(PreviewText(dir / "utf8.txt"), "\xB5\xDA\xD2\xBB\xBB\xD8\r\n");
    WriteFile(dir / "utf16.txt", std::string("\xFF\xFE\x2C\x7B\x00\x4E\x0D\x00\x0A\x00", 10));
    EXPECT_EQ(PreviewText(dir / "utf16.txt"), "\xB5\xDA\xD2\xBB\r\n");
    // The 2000-byte limit cuts 一 after two of its three bytes: the text is still read as UTF-8.
    const std::string head = std::string(1990, 'a') + "第" + std::string(5, 'a');
    WriteFile(dir / "cut.txt", head + "一" + std::string(100, 'b'));
    const std::string shown = PreviewText(dir / "cut.txt");
    EXPECT_EQ(shown.substr(0, 1997), std::string(1990, 'a') + "\xB5\xDA" + std::string(5, 'a'));
    EXPECT_EQ(shown.find('\xE4'), std::string::npos);
}

TEST(FilePreviewTest, OnlyRegularFilesAreRead) {
    ScratchDir dir;
    ASSERT_EQ(::mkfifo((dir / "pipe.txt").c_str(), 0600), 0);
    EXPECT_EQ(PreviewText(dir / "pipe.txt"), ""); // returns at once: a pipe is never opened
    EXPECT_EQ(PreviewText(dir.Path()), "");
    EXPECT_EQ(PreviewText(dir / "missing.txt"), "");
    EXPECT_EQ(PreviewText("/dev/zero"), "");
}

TEST(FilePreviewTest, AnArchiveShowsItsFileNamesWhateverTheirExtension) {
    ScratchDir dir;
    ASSERT_TRUE(
        ziptest::InfoZip(dir / "src", dir / "Set.ZIP",
                         {{"a.txt", "x"}, {"sub/", ""}, {"sub/b.htm", "y"}, {"c.jpg", ""}}));
    EXPECT_EQ(PreviewText(dir / "Set.ZIP"), "a.txt\r\nb.htm\r\nc.jpg\r\n");
    WriteFile(dir / "junk.zip", "PK\x03\x04 not really");
    EXPECT_EQ(PreviewText(dir / "junk.zip"), "");
}

TEST(FilePreviewTest, DisplayDecodesLinesAndDropsACharacterCutAtTheEnd) {
    EXPECT_EQ(PreviewDisplay("\xB5\xDA\xD2\xBB\r\nab\rc\nd"), u"第一\nab\nc\nd");
    EXPECT_EQ(PreviewDisplay(std::string(1999, 'a') + "\xB5"), std::u16string(1999, u'a'));
    EXPECT_EQ(PreviewDisplay("\xB5\xDA\xB5"), u"第");
    EXPECT_EQ(PreviewDisplay("\xB5\xDA\x94\x39\xFC\x36\x94\x39\xFC"), u"第\U0001F600");
    EXPECT_EQ(PreviewDisplay(""), u"");
}

} // namespace
