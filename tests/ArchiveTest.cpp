// test-links: mojuan_archive
#include "ZipTestSupport.h"
#include "archive/UnZip32.h"
#include "archive/ZipLibrary.h"
#include "archive/ZipPass.h"
#include "archive/ZipPrev.h"
#include "records/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace {

using ziptest::InfoZip;
using ziptest::RawNameZip;

std::vector<std::string> Names(const std::string& archive) {
    std::vector<std::string> names;
    if (auto entries = ListZipEntries(archive))
        for (const ZipEntryName& entry : *entries)
            names.push_back(entry.Name);
    return names;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

struct ShelfArchive : ::testing::Test {
    ScratchDir dir;
    std::string zip = dir / "x.zip";
    std::string temp = dir / "temp";
    void SetUp() override {
        ASSERT_TRUE(InfoZip(dir / "src", zip,
                            {{"a.txt", "first"},
                             {"pic.jpg", "jpeg"},
                             {"sub/", ""},
                             {"sub/b.htm", "<p>second</p>"}}));
    }
};

TEST_F(ShelfArchive, ChooserRowsSkipDirectoriesAndFilterDocuments) {
    const auto entries = ListZipEntries(zip);
    ASSERT_TRUE(entries);
    EXPECT_EQ(Names(zip), (std::vector<std::string>{"a.txt", "pic.jpg", "sub/", "sub/b.htm"}));
    EXPECT_EQ(ZipRowsFor(*entries, true),
              (std::vector<ZipRow>{{"a.txt", "", 0}, {"pic.jpg", "", 1}, {"b.htm", "sub\\", 3}}));
    EXPECT_EQ(ZipRowsFor(*entries, false),
              (std::vector<ZipRow>{{"a.txt", "", 0}, {"b.htm", "sub\\", 3}}));
    EXPECT_EQ(ZipPreviewText(*entries), "a.txt\r\npic.jpg\r\nb.htm\r\n");
}

TEST_F(ShelfArchive, ChosenRowsComeLastFirstAsReferences) {
    const std::vector<ZipRow> rows = ZipRowsFor(*ListZipEntries(zip), true);
    EXPECT_EQ(ChosenEntries("/x.zip", rows, {true, false, true}),
              (std::vector<ChosenZipEntry>{{"/x.zip|sub\\b.htm", 3}, {"/x.zip|a.txt", 0}}));
    EXPECT_TRUE(ChosenEntries("/x.zip", rows, {false, false, false}).empty());
    EXPECT_EQ(ZipReference("/books/x.zip", rows[2]), "/books/x.zip|sub\\b.htm");
    EXPECT_EQ(ZipReference("/books/x.zip", {"b\tc.txt", "d\x01\\"}), "/books/x.zip|d\\bc.txt");
}

TEST_F(ShelfArchive, ExtractsIntoItsFoldersAndReplacesTheEarlierCopy) {
    ExtractResult r = ExtractZipEntry(zip, "sub/b.htm", temp);
    ASSERT_EQ(r.Status, ExtractStatus::Ok);
    EXPECT_EQ(r.Path, temp + "/sub/b.htm");
    EXPECT_EQ(ReadAll(r.Path), "<p>second</p>");
    WriteFile(r.Path, "stale");
    EXPECT_EQ(ExtractZipEntry(zip, "sub/b.htm", temp).Status, ExtractStatus::Ok);
    EXPECT_EQ(ReadAll(r.Path), "<p>second</p>");

    // An entry that is gone takes its earlier copy with it, so nothing stale can be opened.
    std::filesystem::remove(zip);
    ASSERT_TRUE(InfoZip(dir / "src", zip, {{"a.txt", "first"}}));
    r = ExtractZipEntry(zip, "sub/b.htm", temp);
    EXPECT_EQ(r.Status, ExtractStatus::NotFound);
    EXPECT_TRUE(r.Path.empty());
    EXPECT_FALSE(Exists(temp + "/sub/b.htm"));
    EXPECT_EQ(ExtractZipEntry(dir / "gone.zip", "a.txt", temp).Status, ExtractStatus::NoArchive);
    EXPECT_EQ(ExtractZipEntry(zip, "sub", temp).Status, ExtractStatus::WriteFailed);
}

TEST_F(ShelfArchive, RefusesNamesThatCouldLeaveTheFolderOrLieTooDeep) {
    for (const char* name : {"", "/etc/passwd", "../a.txt", "sub/../../a.txt", "./a.txt",
                             "sub//b.htm", "sub/", "sub/.", "a\ttxt"})
        EXPECT_EQ(ExtractZipEntry(zip, name, temp).Status, ExtractStatus::Unsafe) << name;
    EXPECT_EQ(ExtractZipEntry(zip, std::string("a.txt\0/x", 8), temp).Status,
              ExtractStatus::Unsafe);
    EXPECT_FALSE(Exists(dir / "a.txt"));
    std::string deep;
    for (std::size_t i = 0; i <= MaxEntryFolders; ++i)
        deep += "d/";
    const ExtractResult r = ExtractZipEntry(zip, deep + "a.txt", temp);
    EXPECT_EQ(r.Status, ExtractStatus::TooDeep);
    EXPECT_FALSE(Exists(temp + "/d"));
    EXPECT_EQ(ExtractFailureMessage(r, zip, "d/a.txt")->Text,
              OpenFailedText(zip + "|d\\a.txt", "文件所在的目录层次太多，不能解压。"));
}

TEST_F(ShelfArchive, AnUntrustedTemporaryFolderIsNamedAsTheCause) {
    WriteFile(dir / "file", "x");
    const ExtractResult r = ExtractZipEntry(zip, "a.txt", dir / "file/zip/temp");
    EXPECT_EQ(r.Status, ExtractStatus::WriteFailed);
    const std::string text = ExtractFailureMessage(r, zip, "a.txt")->Text;
    EXPECT_EQ(text.rfind(OpenFailedText(zip + "|a.txt", "解压到临时文件夹时出错："), 0), 0u);
    EXPECT_NE(text.find(dir / "file"), std::string::npos) << text;
}

TEST_F(ShelfArchive, NeverFollowsALinkBelowTheFolder) {
    ASSERT_TRUE(PrepareTempDir(temp));
    std::filesystem::create_directory(dir / "outside");
    std::filesystem::create_directory_symlink(dir / "outside", temp + "/sub");
    const ExtractResult r = ExtractZipEntry(zip, "sub/b.htm", temp);
    EXPECT_EQ(r.Status, ExtractStatus::Ok);
    EXPECT_FALSE(Exists(dir / "outside/b.htm"));
    EXPECT_EQ(ReadAll(temp + "/sub/b.htm"), "<p>second</p>");
}

TEST(ArchiveTest, GbkNamesWithoutTheFlagAndBackslashSeparators) {
    ScratchDir dir;
    const std::string zip = dir / "gbk.zip";
    // 癨 is B0 5C in GBK: its trail byte is "\", which must not split the name.
    ASSERT_TRUE(RawNameZip(zip, "gbk", {"第一章.txt=甲", "卷二\\第二章.txt=乙", "癨.txt=丙"}));
    EXPECT_EQ(Names(zip), (std::vector<std::string>{"第一章.txt", "卷二/第二章.txt", "癨.txt"}));
    const auto rows = ZipRowsFor(*ListZipEntries(zip), false);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1], (ZipRow{"第二章.txt", "卷二\\", 1}));
    ExtractResult r = ExtractZipEntry(zip, "卷二/第二章.txt", dir / "temp");
    ASSERT_EQ(r.Status, ExtractStatus::Ok);
    EXPECT_EQ(ReadAll(r.Path), "\xD2\xD2"); // 乙 in GBK
    EXPECT_EQ(ExtractZipEntry(zip, "癨.txt", dir / "temp").Status, ExtractStatus::Ok);
    EXPECT_EQ(ZipPreviewText(*ListZipEntries(zip)),
              "\xB5\xDA\xD2\xBB\xD5\xC2.txt\r\n\xB5\xDA\xB6\xFE\xD5\xC2.txt\r\n\xB0\x5C.txt\r\n");

    // 目录 and 小说 in GBK are also well-formed UTF-8 ("Ŀ¼", "С˵"): read as GBK, alone or
    // beside a name that is no UTF-8 at all; a name flagged UTF-8 stays UTF-8 beside them.
    ASSERT_TRUE(RawNameZip(dir / "valid.zip", "gbk", {"小说/目录.txt=甲", "目录.txt=乙"}));
    EXPECT_EQ(Names(dir / "valid.zip"), (std::vector<std::string>{"小说/目录.txt", "目录.txt"}));
    EXPECT_EQ(ReadAll(ExtractZipEntry(dir / "valid.zip", "小说/目录.txt", dir / "temp").Path),
              "\xBC\xD7"); // 甲
    ASSERT_TRUE(
        RawNameZip(dir / "mixed.zip", "gbk", {"第一章.txt=x", "目录.txt=y", "+第二章.txt=z"}));
    EXPECT_EQ(Names(dir / "mixed.zip"),
              (std::vector<std::string>{"第一章.txt", "目录.txt", "第二章.txt"}));

    // UTF-8 names, flagged or merely valid, stay UTF-8.
    ASSERT_TRUE(RawNameZip(dir / "utf8.zip", "utf-8", {"第三章.txt=丁"}));
    EXPECT_EQ(Names(dir / "utf8.zip"), std::vector<std::string>{"第三章.txt"});
    ASSERT_TRUE(RawNameZip(dir / "traditional.zip", "utf-8", {"紅樓夢.txt=戊"}));
    EXPECT_EQ(Names(dir / "traditional.zip"), std::vector<std::string>{"紅樓夢.txt"});
    ASSERT_TRUE(InfoZip(dir / "src", dir / "info.zip", {{"第四章.txt", "x"}}));
    EXPECT_EQ(Names(dir / "info.zip"), std::vector<std::string>{"第四章.txt"});
}

TEST(ArchiveTest, StoredBackslashDotDotIsRefused) {
    ScratchDir dir;
    ASSERT_TRUE(RawNameZip(dir / "evil.zip", "gbk", {"..\\evil.txt=x", "a\\..\\..\\evil.txt=y"}));
    for (const std::string& name : Names(dir / "evil.zip"))
        EXPECT_EQ(ExtractZipEntry(dir / "evil.zip", name, dir / "temp").Status,
                  ExtractStatus::Unsafe);
    EXPECT_FALSE(Exists(dir / "evil.txt"));
}

TEST(ArchiveTest, OfTwoEntriesOfOneNameTheChosenOneIsExtracted) {
    ScratchDir dir;
    const std::string zip = dir / "twice.zip";
    ASSERT_TRUE(RawNameZip(zip, "gbk", {"a.txt=one", "a.txt=two"}));
    const auto chosen = ChosenEntries(zip, ZipRowsFor(*ListZipEntries(zip), true), {false, true});
    ASSERT_EQ(chosen, (std::vector<ChosenZipEntry>{{zip + "|a.txt", 1}}));
    EXPECT_EQ(ReadAll(ExtractForReading(zip, "a.txt", 1, dir / "temp").Path), "two");
    EXPECT_EQ(ReadAll(ExtractZipEntry(zip, "a.txt", dir / "temp").Path), "one");
}

TEST(ArchiveTest, EncryptedAndLinkEntriesAreNotExtracted) {
    ScratchDir dir;
    ASSERT_TRUE(InfoZip(dir / "src", dir / "locked.zip", {{"a.txt", "secret"}}, "-P pw"));
    ExtractResult r = ExtractZipEntry(dir / "locked.zip", "a.txt", dir / "temp");
    EXPECT_EQ(r.Status, ExtractStatus::Encrypted);
    EXPECT_FALSE(Exists(dir / "temp/a.txt"));
    EXPECT_EQ(ExtractForReading(dir / "locked.zip", "a.txt", -1, dir / "temp").Failure,
              WarningMessage(OpenFailedText(dir / "locked.zip", CheckZipPasswordReason)));

    std::filesystem::create_directories(dir / "links");
    std::filesystem::create_symlink("/etc/passwd", dir / "links/l.txt");
    ASSERT_TRUE(ziptest::Run("cd " + ziptest::Quote(dir / "links") + " && zip -q -y " +
                             ziptest::Quote(dir / "link.zip") + " l.txt"));
    r = ExtractZipEntry(dir / "link.zip", "l.txt", dir / "temp");
    EXPECT_EQ(r.Status, ExtractStatus::Link);
    EXPECT_FALSE(Exists(dir / "temp/l.txt"));
    EXPECT_EQ(ExtractFailureMessage(r, dir / "link.zip", "l.txt")->Text,
              OpenFailedText(dir / "link.zip|l.txt", "这是一个链接，不是文件。"));
}

TEST(ArchiveTest, AnEntryThatInflatesPastTheLimitIsRefusedByItsReference) {
    ScratchDir dir;
    ASSERT_TRUE(InfoZip(dir / "src", dir / "bomb.zip",
                        {{"sub/big.txt", std::string(MaxEntryBytes + 5000000, ' ')}}));
    std::filesystem::remove_all(dir / "src");
    const ExtractedEntry r = ExtractForReading(dir / "bomb.zip", "sub/big.txt", -1, dir / "temp");
    EXPECT_EQ(r.Failure, InfoMessage(TooLargeText(dir / "bomb.zip|sub\\big.txt")));
    EXPECT_FALSE(Exists(dir / "temp/sub/big.txt"));
}

TEST(ArchiveTest, DamagedArchivesListNothingAndExtractNothing) {
    ScratchDir dir;
    ASSERT_EQ(::mkfifo((dir / "pipe.zip").c_str(), 0600), 0);
    EXPECT_FALSE(ListZipEntries(dir / "pipe.zip")); // returns at once: a pipe is never read
    EXPECT_EQ(ExtractZipEntry(dir / "pipe.zip", "a.txt", dir / "temp").Status,
              ExtractStatus::NoArchive);
    WriteFile(dir / "junk.zip", std::string(5000, 'P'));
    EXPECT_FALSE(ListZipEntries(dir / "junk.zip"));
    EXPECT_FALSE(ListZipEntries(dir.Path()));

    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "line " + std::to_string(i * 7919 % 10007) + "\r\n";
    ASSERT_TRUE(InfoZip(dir / "src", dir / "bad.zip", {{"a.txt", text}}));
    std::string bytes = ReadAll(dir / "bad.zip");
    for (std::size_t i = 200; i < 2000; i += 3) // inside the deflated data
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
    WriteFile(dir / "bad.zip", bytes);
    const ExtractResult r = ExtractZipEntry(dir / "bad.zip", "a.txt", dir / "temp");
    EXPECT_EQ(r.Status, ExtractStatus::Damaged);
    EXPECT_FALSE(Exists(dir / "temp/a.txt"));

    WriteFile(dir / "cut.zip", bytes.substr(0, bytes.size() / 2));
    EXPECT_FALSE(ListZipEntries(dir / "cut.zip"));
    EXPECT_EQ(ArchiveFailureReason(dir / "cut.zip"), DamagedArchiveReason);
}

TEST(ArchiveTest, LibraryVersionCheck) {
    EXPECT_TRUE(CheckUnzipDll().Ok);
    // The library is loaded at run time: a missing file, or one without libzip's functions,
    // gives no functions to call.
    EXPECT_TRUE(LoadZipLibrary(ZipLibraryFile));
    EXPECT_FALSE(LoadZipLibrary("libzip-missing.so.4"));
    EXPECT_FALSE(LoadZipLibrary("libc.so.6"));
    EXPECT_TRUE(CheckUnzipVersion("1.7.3", "1.7.3").Ok);
    EXPECT_TRUE(CheckUnzipVersion("1.9.0", "1.7.3").Ok);
    const UnzipCheck missing = CheckUnzipVersion(nullptr, "1.7.3");
    EXPECT_FALSE(missing.Ok);
    EXPECT_EQ(missing.Message, "Cannot find libzip.\nThe Dll must be in the application directory, "
                               "the path,\nthe Windows directory or the Windows System directory.");
    for (const char* other : {"1.7.2", "1.6", "2.0.0"}) {
        const UnzipCheck wrong = CheckUnzipVersion(other, "1.7.3");
        EXPECT_FALSE(wrong.Ok);
        EXPECT_EQ(wrong.Message,
                  "libzip has the wrong version number.\nInsure that you have the correct dll's "
                  "installed, and that \nan older dll is not in your path or Windows System "
                  "directory.");
    }
}

} // namespace
