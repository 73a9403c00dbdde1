// test-links: mojuan_text
#include "TestSupport.h"
#include "text/Chunking.h"
#include "text/Gb2Big5.h"

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
    for (const char* word : {"detect FILE", "convert MODE", "--big5-to-gb", "--gb-to-big5",
                             "--auto-gb", "--auto-big5"})
        EXPECT_NE(run.Out.find(word), std::string::npos) << word;
}

TEST_F(MojuanTextTest, DetectPrintsSizeAndTheCodeOfEachChunk) {
    const std::string mixed = MixedDocument();
    WriteFile(Path("mixed.txt"), mixed);
    WriteFile(Path("empty.txt"), "");
    const ToolRun run = Run({"detect", Path("mixed.txt"), Path("empty.txt")});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, Path("mixed.txt") + ": " + std::to_string(mixed.size()) +
                           " bytes: BIG5 GB\n" + Path("empty.txt") + ": 0 bytes: GB\n");
}

TEST_F(MojuanTextTest, DetectReadsStandardInput) {
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

TEST_F(MojuanTextTest, ConvertGivesWhatTheReaderShows) {
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
    const std::string big5 = Novel("shuihu.big5.txt");
    WriteFile(Path("in.txt"), big5);
    const ToolRun run = Run({"convert", Path("in.txt"), "--big5-to-gb", Path("out.txt")});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_TRUE(testsupport::ReadFileBytes(Path("out.txt")) == ChunkByChunk(Big5ToGb, big5));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"in.txt", "out.txt"}));
}

TEST_F(MojuanTextTest, ConvertInPlaceReplacesTheFileAndKeepsItsMode) {
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

} // namespace
