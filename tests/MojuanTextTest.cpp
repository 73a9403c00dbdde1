// test-links: mojuan_reader mojuan_text
#include "TestSupport.h"
#include "reader/Chapters.h"
#include "reader/DocumentStore.h"
#include "reader/OpenFile.h"
#include "reader/TextOptions.h"
#include "reader/TextPasses.h"
#include "text/Chunking.h"
#include "text/Gb2Big5.h"
#include "text/TextFilters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct ToolRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A scratch directory of its own for each test, inside the test run's TMPDIR.
class MojuanTextTest : public ::testing::Test {
protected:
    fs::path Dir;

    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        Dir = fs::temp_directory_path() / (std::string("mojuan-text-") + info->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    // Runs the tool with `input` on its standard input; with a file size limit, writes past it
    // fail as they would on a full disk.
    ToolRun Run(std::vector<std::string> args, const std::string& input = "",
                std::optional<rlim_t> fileSizeLimit = std::nullopt) const {
        const fs::path in = Dir / ".stdin", out = Dir / ".stdout", err = Dir / ".stderr";
        WriteFile(in, input);
        const pid_t child = fork();
        if (child == 0) {
            RedirectAndExec(args, in, out, err, fileSizeLimit);
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ToolRun run;
        run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.Out = testsupport::ReadFileBytes(out);
        run.Err = testsupport::ReadFileBytes(err);
        for (const fs::path& p : {in, out, err})
            fs::remove(p);
        return run;
    }

    static void RedirectAndExec(std::vector<std::string>& args, const fs::path& in,
                                const fs::path& out, const fs::path& err,
                                std::optional<rlim_t> fileSizeLimit) {
        dup2(open(in.c_str(), O_RDONLY), 0);
        dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
        dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        if (fileSizeLimit) {
            const rlimit limit{*fileSizeLimit, *fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
            signal(SIGXFSZ, SIG_IGN); // so that the write fails with EFBIG instead
        }
        std::vector<char*> argv{const_cast<char*>(MOJUAN_TEXT_TOOL)};
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(MOJUAN_TEXT_TOOL, argv.data());
    }

    // The names in the scratch directory, hidden temporary files included.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(Dir))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string Path(const std::string& name) const { return (Dir / name).string(); }
};

std::string Novel(const char* name) {
    return testsupport::ReadFileBytes(testsupport::CorpusPath(name));
}

// What the reader shows with one conversion pass: the same operation on each chunk.
std::string ChunkByChunk(std::string (*convert)(std::string_view), std::string_view text) {
    std::string result;
    for (std::string_view chunk : CutChunks(text))
        result += convert(chunk);
    return result;
}

// A BIG5 chunk followed by a GB chunk.
std::string MixedDocument() {
    return testsupport::BuildDocument("shuihu.big5.txt", 250000) +
           testsupport::BuildDocument("hongloumeng.gbk.txt", 120000);
}

// The reader's passes over `chunks`, Init_Text only when the line ends are normalised; the
// shown chunks joined.
std::string RunPasses(std::vector<Chunk> chunks, const TextOptions& passes, bool normalize) {
    DocumentStore store;
    store.SetChunks(std::move(chunks));
    NoProgress progress;
    if (normalize)
        Init_Text(store, progress);
    Init_Page_Do(store, passes, progress);
    std::string shown;
    for (const Chunk& chunk : store.ShownChunk)
        shown += *chunk;
    return shown;
}

// What the reader shows of the file at `path`, read into chunks by its own file opening.
std::string ReaderShows(const std::string& path, const TextOptions& passes, bool normalize) {
    NoProgress progress;
    std::optional<std::vector<Chunk>> chunks = OpenFile(path, progress).Chunks;
    EXPECT_TRUE(chunks.has_value()) << path;
    return chunks ? RunPasses(std::move(*chunks), passes, normalize) : std::string();
}

TextOptions FilterPasses(bool html, bool paragraphs) {
    TextOptions passes;
    passes.ProcessHtml = html;
    passes.SmartParagraphs = paragraphs;
    return passes;
}

// The start of the character that holds byte `pos`, walking characters from the start.
std::size_t CharStart(std::string_view text, std::size_t pos) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= pos && i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        start = i;
        i += b >= 0x81 && b <= 0xFE && i + 1 < text.size() ? 2 : 1;
    }
    return start;
}

const std::string QuoteLine = "\xA1\xB1\n"; // ” LF

std::string WithLfLineEnds(std::string_view text) {
    std::string lf;
    for (char c : text) {
        if (c != '\r')
            lf += c;
    }
    return lf;
}

// 600000 bytes of a GB novel with LF line ends, shifted so that the mark "”" ending a line
// stands on bytes 249999 and 250000: the reader's cut moves a byte to keep it whole at the
// start of the second chunk, where smart paragraphs see it; a plain cut would split it. And as
// each raw chunk is normalised by itself, the shown chunks are no cut of the normalised whole.
std::string LfNovel() {
    std::string text = WithLfLineEnds(testsupport::BuildDocument("hongloumeng.gbk.txt", 700000));
    std::size_t mark = text.rfind(QuoteLine, ChunkSize - 1);
    while (mark != std::string::npos && CharStart(text, mark) != mark)
        mark = text.rfind(QuoteLine, mark - 1);
    if (mark == std::string::npos)
        return text;
    text = std::string(ChunkSize - 1 - mark, ' ') + text;
    const std::size_t size = 600000;
    text.resize(CharStart(text, size));
    text.resize(size, '\n');
    return text;
}

// A novel dressed as a web page, with mixed line ends, whose first chunk ends in a CR and
// whose second chunk starts with the LF after it.
std::string HtmlPage() {
    const std::string novel = Novel("hongloumeng.gbk.txt");
    std::string page = "<html><head><title>novel</title></head>\n<body>\n";
    std::size_t line = 0;
    for (std::size_t start = 0; page.size() < 400000; ++line) {
        const std::size_t end = novel.find("\r\n", start);
        const std::string text = novel.substr(start, end - start);
        start = end + 2;
        if (text.empty())
            page += "<p>\n";
        else if (line % 7 == 0)
            page += "<font color=\"red\">" + text + "</font><br>\n";
        else if (line % 5 == 0)
            page += "&nbsp;&NBSP;&quot;" + text + "&quot;<BR>\r";
        else
            page += text + (line % 3 == 0 ? "\r\n" : "\n");
    }
    page += "</body></html>\n";
    const std::size_t cut = CharStart(page, ChunkSize - 1);
    return page.substr(0, cut) + std::string(ChunkSize - 1 - cut, ' ') + "\r\n" + page.substr(cut);
}

TEST_F(MojuanTextTest, BadUsageExitsWithTwoAndSaysHowToGetHelp) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"detect"},
        {"detect", "--verbose", "a.txt"},
        {"convert"},
        {"convert", "a.txt"},
        {"convert", "--big5", "a.txt"},
        {"convert", "--auto-gb", "--auto-big5", "a.txt"},
        {"convert", "--auto-gb", "a", "b", "c"},
        {"filter"},
        {"filter", "a.txt"},
        {"filter", "--big5-to-gb", "a.txt"},
        {"filter", "--strip-html", "a.txt"},
        {"filter", "--html", "--auto-gb", "--big5-to-gb", "a.txt"},
        {"filter", "--html", "a", "b", "c"},
        {"filter", "--normalize", "--parag", "a.txt"},
        {"convert", "--to-gb", "--encoding=latin1", "a.txt"},
        {"filter", "--html", "--encoding=GB", "--encoding=BIG5", "a.txt"},
    };
    for (const auto& args : cases) {
        const ToolRun run = Run(args);
        EXPECT_EQ(run.Status, 2) << testing::PrintToString(args);
        const bool guides =
            run.Err.starts_with("Usage:") || run.Err.find("--help") != std::string::npos;
        EXPECT_TRUE(guides) << testing::PrintToString(args) << run.Err;
        EXPECT_TRUE(run.Out.empty());
    }
}

TEST_F(MojuanTextTest, HelpDescribesEveryCommandAndMode) {
    const ToolRun run = Run({"--help"});
    EXPECT_EQ(run.Status, 0);
    for (const char* word :
         {"detect FILE", "convert MODE", "--big5-to-gb", "--gb-to-big5", "--auto-gb", "--auto-big5",
          "--to-gb", "filter FILTER", "--normalize", "--html", "--paragraphs", "chapters [MODE]",
          "--pattern", "--encoding=NAME"})
        EXPECT_NE(run.Out.find(word), std::string::npos) << word;
}

TEST_F(MojuanTextTest, DetectPrintsSizeAndTheCodeOfEachChunk) {
    MOJUAN_REQUIRE_CORPUS("shuihu.big5.txt");
    MOJUAN_REQUIRE_CORPUS("shuihu.gbk.txt");
    MOJUAN_REQUIRE_CORPUS("hongloumeng.gbk.txt");
    const std::string mixed = MixedDocument();
    WriteFile(Path("mixed.txt"), mixed);
    WriteFile(Path("empty.txt"), "");
    const ToolRun run = Run({"detect", Path("mixed.txt"), Path("empty.txt")});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, Path("mixed.txt") + ": " + std::to_string(mixed.size()) +
                           " bytes: BIG5 GB\n" + Path("empty.txt") + ": 0 bytes: GB\n");
}

TEST_F(MojuanTextTest, DetectReadsStandardInput) {
    MOJUAN_REQUIRE_CORPUS("shuihu.big5.txt");
    MOJUAN_REQUIRE_CORPUS("shuihu.gbk.txt");
    MOJUAN_REQUIRE_CORPUS("hongloumeng.gbk.txt");
    const ToolRun run = Run({"detect", "-"}, Novel("shuihu.big5.txt"));
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "-: 1739802 bytes: BIG5 BIG5 BIG5 BIG5 BIG5 BIG5 BIG5\n");
}

TEST_F(MojuanTextTest, DetectNamesTheUnreadableFileAndGoesOn) {
    WriteFile(Path("a.txt"), "abc");
    const ToolRun run = Run({"detect", Path("missing.txt"), Path("a.txt")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find(Path("missing.txt")), std::string::npos);
    EXPECT_EQ(run.Out, Path("a.txt") + ": 3 bytes: GB\n");
}

// An endless device stops at the reader's size limit, and a pipe without a writer does not wait.
TEST_F(MojuanTextTest, DetectStopsAtTheSizeLimitAndDoesNotWaitForAPipe) {
    ASSERT_EQ(mkfifo(Path("pipe").c_str(), 0600), 0);
    const ToolRun run = Run({"detect", "/dev/zero", Path("pipe")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("'/dev/zero' is larger than 22250000 bytes"), std::string::npos);
    EXPECT_EQ(run.Out, Path("pipe") + ": 0 bytes: GB\n");
}

// A UTF file is named by its encoding, transcoded by every mode before the chunks are cut, and
// filtered into exactly what the reader shows of it.
TEST_F(MojuanTextTest, UtfFilesAreDetectedAndTranscodedAsTheReaderDoes) {
    const std::string gbk = Novel("hongloumeng.gbk.txt");
    const ToolRun utf8 =
        Run({"detect", "-"},
            testsupport::ReadFileBytes(testsupport::TestDataPath("encoding/xiyouji.html")));
    EXPECT_EQ(utf8.Out, "-: 4312 bytes: UTF-8\n");
    const std::string utf16("\xFF\xFE"
                            "a\0b\0",
                            6);
    WriteFile(Path("u16.txt"), utf16);
    EXPECT_EQ(Run({"detect", Path("u16.txt")}).Out, Path("u16.txt") + ": 6 bytes: UTF-16LE\n");
    EXPECT_EQ(Run({"convert", "--to-gb", Path("u16.txt")}).Out, "ab");
    EXPECT_EQ(Run({"convert", "--to-gb"}, gbk).Out, gbk);
    // Every character kept, as the reader keeps it; a named encoding replaces recognition.
    const std::string rare = "\xF0\xA0\xAE\xB7\xF0\x9F\x98\x80\r\n"; // 𠮷😀
    EXPECT_EQ(Run({"convert", "--to-gb"}, rare).Out, ToReadingBytes(rare, false));
    EXPECT_EQ(Run({"convert", "--to-gb"}, rare).Out, "\x95\x34\xB2\x35\x94\x39\xFC\x36\r\n");
    EXPECT_EQ(Run({"detect", "-"}, Run({"convert", "--to-gb"}, rare).Out).Out,
              "-: 10 bytes: GB18030\n");
    EXPECT_EQ(Run({"convert", "--to-gb", "--encoding=gb"}, rare).Out, rare);
    EXPECT_EQ(Run({"convert", "--to-gb", "--encoding=BIG5"}, "\xA4\x40").Out, "\xD2\xBB");

    const std::string page = testsupport::TestDataPath("encoding/xiyouji.html");
    const ToolRun filtered = Run({"filter", "--normalize", "--html", page});
    EXPECT_EQ(filtered.Status, 0);
    EXPECT_EQ(filtered.Out, ReaderShows(page, FilterPasses(true, false), true));
    EXPECT_EQ(filtered.Out.find("font-family"), std::string::npos);
}

TEST_F(MojuanTextTest, ConvertGivesWhatTheReaderShows) {
    MOJUAN_REQUIRE_CORPUS("shuihu.big5.txt");
    MOJUAN_REQUIRE_CORPUS("shuihu.gbk.txt");
    MOJUAN_REQUIRE_CORPUS("hongloumeng.gbk.txt");
    const std::string mixed = MixedDocument();
    const struct {
        const char* Mode;
        std::string (*Convert)(std::string_view);
    } modes[] = {{"--big5-to-gb", Big5ToGb},
                 {"--gb-to-big5", GbToBig5},
                 {"--auto-gb", ToGb},
                 {"--auto-big5", ToBig5}};
    for (const auto& m : modes) {
        const ToolRun run = Run({"convert", m.Mode}, mixed);
        EXPECT_EQ(run.Status, 0) << m.Mode;
        EXPECT_TRUE(run.Out == ChunkByChunk(m.Convert, mixed)) << m.Mode;
    }
    // Chunk by chunk, the mixed document comes out all in one code.
    const ToolRun gb = Run({"convert", "--auto-gb"}, mixed);
    EXPECT_TRUE(gb.Out.substr(0, 249990) == Big5ToGb(mixed).substr(0, 249990));
    EXPECT_TRUE(gb.Out.substr(260000) == mixed.substr(260000));
}

TEST_F(MojuanTextTest, ConvertReadsAndWritesFiles) {
    MOJUAN_REQUIRE_CORPUS("shuihu.big5.txt");
    MOJUAN_REQUIRE_CORPUS("shuihu.gbk.txt");
    MOJUAN_REQUIRE_CORPUS("hongloumeng.gbk.txt");
    const std::string big5 = Novel("shuihu.big5.txt");
    WriteFile(Path("in.txt"), big5);
    const ToolRun run = Run({"convert", Path("in.txt"), "--big5-to-gb", Path("out.txt")});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_TRUE(testsupport::ReadFileBytes(Path("out.txt")) == ChunkByChunk(Big5ToGb, big5));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"in.txt", "out.txt"}));
}

TEST_F(MojuanTextTest, ConvertInPlaceReplacesTheFileAndKeepsItsMode) {
    MOJUAN_REQUIRE_CORPUS("shuihu.big5.txt");
    MOJUAN_REQUIRE_CORPUS("shuihu.gbk.txt");
    MOJUAN_REQUIRE_CORPUS("hongloumeng.gbk.txt");
    const std::string gb = Novel("shuihu.gbk.txt");
    WriteFile(Path("book.txt"), gb);
    chmod(Path("book.txt").c_str(), 0640);
    const ToolRun run = Run({"convert", "--auto-big5", Path("book.txt"), Path("book.txt")});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_TRUE(testsupport::ReadFileBytes(Path("book.txt")) == ChunkByChunk(ToBig5, gb));
    EXPECT_EQ(fs::status(Path("book.txt")).permissions() & fs::perms::mask,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Entries(), std::vector<std::string>{"book.txt"});
}

TEST_F(MojuanTextTest, InputErrorNamesTheFileAndLeavesTheOutputAlone) {
    WriteFile(Path("out.txt"), "old");
    const ToolRun run = Run({"convert", "--auto-gb", Path("missing.txt"), Path("out.txt")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find(Path("missing.txt")), std::string::npos);
    EXPECT_EQ(testsupport::ReadFileBytes(Path("out.txt")), "old");
    EXPECT_EQ(Entries(), std::vector<std::string>{"out.txt"});
}

TEST_F(MojuanTextTest, DirectoryAsInputIsAnInputError) {
    fs::create_directory(Dir / "sub");
    const ToolRun run = Run({"convert", "--auto-gb", Path("sub")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find(Path("sub")), std::string::npos);
}

TEST_F(MojuanTextTest, FailedWriteLeavesNoPartialFile) {
    MOJUAN_REQUIRE_CORPUS("shuihu.big5.txt");
    MOJUAN_REQUIRE_CORPUS("shuihu.gbk.txt");
    MOJUAN_REQUIRE_CORPUS("hongloumeng.gbk.txt");
    WriteFile(Path("in.txt"), Novel("shuihu.big5.txt"));
    const ToolRun fresh =
        Run({"convert", "--big5-to-gb", Path("in.txt"), Path("out.txt")}, "", 100000);
    EXPECT_EQ(fresh.Status, 1);
    EXPECT_NE(fresh.Err.find(Path("out.txt")), std::string::npos);
    EXPECT_EQ(Entries(), std::vector<std::string>{"in.txt"});

    WriteFile(Path("out.txt"), "old");
    const ToolRun replacing =
        Run({"convert", "--big5-to-gb", Path("in.txt"), Path("out.txt")}, "", 100000);
    EXPECT_EQ(replacing.Status, 1);
    EXPECT_EQ(testsupport::ReadFileBytes(Path("out.txt")), "old");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"in.txt", "out.txt"}));
}

TEST_F(MojuanTextTest, OutputIntoAMissingDirectoryIsAnOutputError) {
    const ToolRun run = Run({"convert", "--auto-gb", "-", Path("none/out.txt")}, "abc");
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find(Path("none/out.txt")), std::string::npos);
}

TEST_F(MojuanTextTest, OutputOverADirectoryFailsAndCleansUp) {
    fs::create_directories(Dir / "taken" / "inside");
    const ToolRun run = Run({"convert", "--auto-gb", "-", Path("taken")}, "abc");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(Entries(), std::vector<std::string>{"taken"});
}

TEST_F(MojuanTextTest, FilterKeepsALineBreakAcrossTheCutWhole) {
    const std::string page = HtmlPage();
    ASSERT_EQ(page.substr(ChunkSize - 1, 2), "\r\n");
    ASSERT_LE(page.size(), 2 * ChunkSize);
    WriteFile(Path("page.htm"), page);
    const ToolRun run = Run({"filter", "--normalize", Path("page.htm")});
    EXPECT_EQ(run.Status, 0) << run.Err;
    // The cut moves before the CR, so its LF is not taken for a second line end.
    EXPECT_TRUE(run.Out == NormalizeLineBreaks(page.substr(0, ChunkSize - 1)) +
                               NormalizeLineBreaks(page.substr(ChunkSize - 1)));
    EXPECT_TRUE(run.Out == NormalizeLineBreaks(page));
    // Only the flags choose the passes, whatever the file is called.
    EXPECT_NE(run.Out.find("<font"), std::string::npos);
}

TEST_F(MojuanTextTest, FilterGivesWhatTheReaderShowsForEveryCombination) {
    MOJUAN_REQUIRE_CORPUS("shuihu.big5.txt");
    MOJUAN_REQUIRE_CORPUS("shuihu.gbk.txt");
    MOJUAN_REQUIRE_CORPUS("hongloumeng.gbk.txt");
    const std::string novel = LfNovel();
    ASSERT_EQ(novel.size(), 600000u);
    ASSERT_EQ(CutChunks(novel)[0].size(), ChunkSize - 1);
    ASSERT_EQ(CutChunks(novel)[1].substr(0, 3), QuoteLine);
    WriteFile(Path("novel.txt"), novel);
    WriteFile(Path("page.htm"), HtmlPage());
    for (const char* name : {"novel.txt", "page.htm"}) {
        for (int flags = 1; flags < 8; ++flags) {
            const bool normalize = flags & 1, html = flags & 2, paragraphs = flags & 4;
            std::vector<std::string> args{"filter"};
            if (normalize)
                args.push_back("--normalize");
            if (html)
                args.push_back("--html");
            if (paragraphs)
                args.push_back("--paragraphs");
            args.push_back(Path(name));
            const ToolRun run = Run(args);
            const std::string shown =
                ReaderShows(Path(name), FilterPasses(html, paragraphs), normalize);
            EXPECT_EQ(run.Status, 0) << run.Err;
            EXPECT_TRUE(run.Out == shown) << testing::PrintToString(args);
        }
    }
}

TEST_F(MojuanTextTest, ChaptersListsWhatTheReaderFinds) {
    MOJUAN_REQUIRE_CORPUS("shuihu.big5.txt");
    const std::string path = testsupport::CorpusPath("shuihu.big5.txt");
    NoProgress progress;
    DocumentStore store;
    store.SetChunks(*OpenFile(path, progress).Chunks);
    Init_Text(store, progress);
    Init_Page_Do(store, TextOptions(), progress);
    const TextCode code = ShownTextCode(store.ShownChunk);
    EXPECT_EQ(code, TextCode::Big5);
    std::string expected;
    for (const Chapter& c : FindDocumentChapters(store.ShownChunk, code).Chapters)
        expected += std::to_string(c.Level) + "\t" + std::to_string(c.Offset) + "\t" +
                    chapters::TextToUtf8(ChapterTitle(store.ShownChunk, c), code) + "\n";
    const ToolRun run = Run({"chapters", path});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, expected);
    EXPECT_TRUE(run.Out.starts_with("2\t20\t楔子　張天師祈禳瘟疫　洪太尉誤走妖魔\n")) << run.Out;
    EXPECT_EQ(std::count(run.Out.begin(), run.Out.end(), '\n'), 121);
    EXPECT_EQ(Run({"chapters", "--pattern", "([", path}).Status, 2);
}

TEST_F(MojuanTextTest, FilterWithoutNormalizeKeepsTheInputsLineEnds) {
    MOJUAN_REQUIRE_CORPUS("shuihu.big5.txt");
    MOJUAN_REQUIRE_CORPUS("shuihu.gbk.txt");
    MOJUAN_REQUIRE_CORPUS("hongloumeng.gbk.txt");
    const std::string novel = LfNovel();
    // Smart paragraphs work on CR LF line ends, which the reader always makes first.
    const ToolRun raw = Run({"filter", "--paragraphs"}, novel);
    EXPECT_EQ(raw.Status, 0);
    EXPECT_TRUE(raw.Out == novel);
    const ToolRun normalised = Run({"filter", "--paragraphs", "--normalize"}, novel);
    EXPECT_TRUE(normalised.Out != novel);
    EXPECT_NE(normalised.Out.find("\r\n\xA1\xA1\xA1\xA1"), std::string::npos);
}

TEST_F(MojuanTextTest, FilterConvertsFirstWhenGivenAMode) {
    MOJUAN_REQUIRE_CORPUS("shuihu.big5.txt");
    MOJUAN_REQUIRE_CORPUS("shuihu.gbk.txt");
    MOJUAN_REQUIRE_CORPUS("hongloumeng.gbk.txt");
    const std::string mixed = MixedDocument();
    WriteFile(Path("mixed.txt"), mixed);
    const struct {
        const char* Mode;
        bool Big5, Gb, Auto;
    } modes[] = {{"--big5-to-gb", true, false, true},
                 {"--gb-to-big5", false, true, true},
                 {"--auto-gb", true, true, true},
                 {"--auto-big5", true, true, false}};
    for (const auto& m : modes) {
        const ToolRun run =
            Run({"filter", "--paragraphs", m.Mode, "--normalize", Path("mixed.txt")});
        TextOptions passes = FilterPasses(false, true);
        passes.ConvertBig5 = m.Big5;
        passes.ConvertGb = m.Gb;
        passes.AutoConvert = m.Auto;
        EXPECT_EQ(run.Status, 0) << m.Mode << run.Err;
        EXPECT_TRUE(run.Out == ReaderShows(Path("mixed.txt"), passes, true)) << m.Mode;
    }
    const ToolRun gb = Run({"filter", "--normalize", "--auto-gb"}, mixed);
    EXPECT_TRUE(gb.Out == ChunkByChunk(ToGb, mixed));
}

TEST_F(MojuanTextTest, FilterTakesTextBeyondTheReadersLimitInMoreChunks) {
    MOJUAN_REQUIRE_CORPUS("shuihu.big5.txt");
    MOJUAN_REQUIRE_CORPUS("shuihu.gbk.txt");
    MOJUAN_REQUIRE_CORPUS("hongloumeng.gbk.txt");
    const std::string big = testsupport::BuildDocument("shuihu.gbk.txt", MaxDocumentBytes + 300000);
    ASSERT_EQ(ChunkCountFor(big.size(), NoChunkLimit), MaxChunks + 2);
    WriteFile(Path("big.txt"), big);
    const ToolRun run =
        Run({"filter", "--normalize", "--paragraphs", Path("big.txt"), Path("out.txt")});
    EXPECT_EQ(run.Status, 0) << run.Err;
    std::vector<Chunk> chunks;
    for (std::string_view part : CutChunks(big, NoChunkLimit))
        chunks.push_back(MakeChunk(std::string(part)));
    EXPECT_TRUE(testsupport::ReadFileBytes(Path("out.txt")) ==
                RunPasses(std::move(chunks), FilterPasses(false, true), true));
}

TEST_F(MojuanTextTest, FilterFailureNamesTheFileAndLeavesNoPartialOutput) {
    MOJUAN_REQUIRE_CORPUS("shuihu.big5.txt");
    MOJUAN_REQUIRE_CORPUS("shuihu.gbk.txt");
    MOJUAN_REQUIRE_CORPUS("hongloumeng.gbk.txt");
    WriteFile(Path("out.txt"), "old");
    const ToolRun missing = Run({"filter", "--html", Path("missing.txt"), Path("out.txt")});
    EXPECT_EQ(missing.Status, 1);
    EXPECT_NE(missing.Err.find(Path("missing.txt")), std::string::npos);

    WriteFile(Path("in.txt"), Novel("shuihu.gbk.txt"));
    const ToolRun full =
        Run({"filter", "--normalize", Path("in.txt"), Path("out.txt")}, "", 100000);
    EXPECT_EQ(full.Status, 1);
    EXPECT_NE(full.Err.find(Path("out.txt")), std::string::npos);
    EXPECT_EQ(testsupport::ReadFileBytes(Path("out.txt")), "old");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"in.txt", "out.txt"}));
}

} // namespace
