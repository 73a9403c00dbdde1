// test-links: mojuan_records
#include "records/ShellIntegration.h"

#include "records/SettingsStore.h"

#include "ReadOnlyPath.h"
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>
#include <thread>

namespace {

// The file's bytes; empty when it is missing.
std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

timespec ModifiedAt(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mtim;
}

const std::string Program = "/opt/墨卷/bin/mojuan";

struct ShellRegistryTest : testing::Test {
    ScratchDir Dir;
    std::string StorePath = Dir / "registry.sqlite3";
    Registry Reg{StorePath, {200}};

    std::string ClassesRoot(const std::string& key) {
        Reg.SetRegHive(HKEY_CLASSES_ROOT);
        std::string value = Reg.ReadRegStr(key, "", "<missing>");
        Reg.SetRegHive(HKEY_LOCAL_MACHINE);
        return value;
    }
    void SetClassesRoot(const std::string& key, const std::string& value) {
        Reg.SetRegHive(HKEY_CLASSES_ROOT);
        Reg.WriteRegStr(key, "", value);
        Reg.SetRegHive(HKEY_LOCAL_MACHINE);
    }
    std::string VerbOf(const std::string& type) {
        return ClassesRoot(type + "\\shell\\使用墨卷阅读(&R)\\command");
    }
};

TEST_F(ShellRegistryTest, TheLibraryTypeGetsItsNameIconAndVerb) {
    RegisterFileTypes(Reg, Program);
    EXPECT_EQ(ClassesRoot(".blf"), "Book Files");
    EXPECT_EQ(ClassesRoot("Book Files"), "墨卷");
    EXPECT_EQ(ClassesRoot("Book Files\\DefaultIcon"), Program + ", 0");
    EXPECT_EQ(ClassesRoot("Book Files\\Shell\\使用墨卷阅读(&R)\\command"), Program + " %1");
    EXPECT_EQ(Reg.Hive(), HKEY_LOCAL_MACHINE);
}

TEST_F(ShellRegistryTest, ExtensionsWithoutATypeGetTheVerbUnderTheFallbackType) {
    RegisterFileTypes(Reg, Program);
    for (const char* type : {"txtfile", "htmlfile", "rtffile", "inifile", "Zipfile"})
        EXPECT_EQ(VerbOf(type), Program + " %1") << type;
    // The extensions' own values are never written.
    EXPECT_EQ(ClassesRoot(".txt"), "<missing>");
    EXPECT_EQ(ClassesRoot(".zip"), "<missing>");
}

TEST_F(ShellRegistryTest, AnExtensionsOwnTypeGetsTheVerbAndItsOtherVerbsStay) {
    SetClassesRoot(".txt", "txtfile");
    SetClassesRoot(".htm", "WebPage");
    SetClassesRoot("WebPage\\shell\\open\\command", "browser %1");
    RegisterFileTypes(Reg, Program);
    EXPECT_EQ(VerbOf("txtfile"), Program + " %1");
    EXPECT_EQ(VerbOf("WebPage"), Program + " %1");
    EXPECT_EQ(ClassesRoot(".htm"), "WebPage");
    EXPECT_EQ(ClassesRoot("WebPage\\shell\\open\\command"), "browser %1");
    EXPECT_EQ(VerbOf("htmlfile"), Program + " %1"); // from ".html", which has no type
}

TEST_F(ShellRegistryTest, AnEmptyTypeCountsAsNoType) {
    SetClassesRoot(".rtf", "");
    RegisterFileTypes(Reg, Program);
    EXPECT_EQ(VerbOf("rtffile"), Program + " %1");
    EXPECT_EQ(ClassesRoot("shell\\使用墨卷阅读(&R)\\command"), "<missing>");
}

TEST_F(ShellRegistryTest, RepeatedStartsWriteTheSameValuesAndNothingElse) {
    RegisterFileTypes(Reg, Program);
    // Four values of the library type and five verbs (".htm" and ".html" share "htmlfile").
    EXPECT_EQ(CountValues(StorePath), 9);
    const timespec written = ModifiedAt(StorePath);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    RegisterFileTypes(Reg, Program);
    const timespec again = ModifiedAt(StorePath);
    EXPECT_EQ(again.tv_sec, written.tv_sec);
    EXPECT_EQ(again.tv_nsec, written.tv_nsec);
    RegisterFileTypes(Reg, "/elsewhere/mojuan");
    EXPECT_EQ(VerbOf("txtfile"), "/elsewhere/mojuan %1");
}

// What every start writes (the file types, the first-run defaults, the store version) holds its
// text from the second start on, so such a start writes nothing: it does not wait for the disk,
// nor for another instance that is writing.
TEST_F(ShellRegistryTest, ASecondStartWritesNothing) {
    Settings first;
    RegisterFileTypes(Reg, Program);
    LoadSettings(Reg, first);
    StoreWriter other(StorePath);
    ASSERT_TRUE(other.Locked);
    Settings second;
    RegisterFileTypes(Reg, Program);
    LoadSettings(Reg, second);
    EXPECT_FALSE(Reg.HadFailure());
    EXPECT_EQ(second.BookWidth, first.BookWidth);
    EXPECT_EQ(VerbOf("txtfile"), Program + " %1");
}

TEST(DesktopEntryTest, NamesTheProgramItsDocumentTypesAndTheReadAction) {
    const std::string text = DesktopEntryText("/usr/bin/mojuan");
    EXPECT_NE(text.find("[Desktop Entry]\n"), std::string::npos);
    EXPECT_NE(text.find("\nName=墨卷\n"), std::string::npos);
    EXPECT_NE(text.find("\nExec=/usr/bin/mojuan %F\n"), std::string::npos);
    EXPECT_NE(text.find("\nMimeType=text/plain;text/html;text/rtf;application/rtf;"
                        "application/zip;application/x-mojuan-library;\n"),
              std::string::npos);
    EXPECT_NE(text.find("\n[Desktop Action Read]\nName=使用墨卷阅读\nExec=/usr/bin/mojuan %F\n"),
              std::string::npos);
}

TEST(DesktopEntryTest, AnIconIsNamedInTheEntryItselfNotInTheAction) {
    const std::string text = DesktopEntryText("mojuan", "mojuan");
    EXPECT_NE(text.find("\nName=墨卷\nIcon=mojuan\nExec=mojuan %F\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("Icon="), text.rfind("Icon="));
    EXPECT_EQ(DesktopEntryText("mojuan").find("Icon="), std::string::npos);
}

TEST(DesktopEntryTest, AProgramPathWithReservedCharactersIsQuotedAndEscaped) {
    const std::string text = DesktopEntryText("/home/u/my $dir/50%/a\\b/mojuan");
    EXPECT_NE(text.find("\nExec=\"/home/u/my \\\\$dir/50%%/a\\\\\\\\b/mojuan\" %F\n"),
              std::string::npos)
        << text;
}

TEST(DesktopEntryTest, TheMimePackageDefinesTheLibraryType) {
    const std::string xml = MimePackageText();
    EXPECT_NE(xml.find("<mime-type type=\"application/x-mojuan-library\">"), std::string::npos);
    EXPECT_NE(xml.find("<comment>Book Files</comment>"), std::string::npos);
    EXPECT_NE(xml.find("<glob pattern=\"*.blf\"/>"), std::string::npos);
}

TEST(DesktopEntryTest, DataHomeFollowsXdgAndIgnoresARelativeValue) {
    const std::string saved = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    ::setenv("XDG_DATA_HOME", "/data/here", 1);
    EXPECT_EQ(DataHome(), "/data/here");
    ::setenv("XDG_DATA_HOME", "relative", 1);
    ::setenv("HOME", "/home/reader", 1);
    EXPECT_EQ(DataHome(), "/home/reader/.local/share");
    ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
}

struct DesktopFilesTest : testing::Test {
    ScratchDir Dir;
    std::string Data = Dir / "data";
    std::string Tools = Dir / "tools";
    std::string SavedPath = std::getenv("PATH") ? std::getenv("PATH") : "";

    // Only the fake update tools are found, so the system's are never run.
    void SetUp() override {
        ::mkdir(Tools.c_str(), 0700);
        ::setenv("PATH", Tools.c_str(), 1);
    }
    void TearDown() override { ::setenv("PATH", SavedPath.c_str(), 1); }

    // A tool that writes its argument to <tools>/<name>.ran.
    void FakeTool(const std::string& name) {
        const std::string path = Tools + "/" + name;
        WriteFile(path, "#!/bin/sh\necho \"$1\" > \"" + path + ".ran\"\n");
        ::chmod(path.c_str(), 0700);
    }
    // The tools run detached; give them a generous while to leave their mark.
    std::string WaitForRun(const std::string& name) {
        const std::string mark = Tools + "/" + name + ".ran";
        for (int i = 0; i < 1000; ++i) {
            std::string text = Slurp(mark);
            if (!text.empty())
                return text;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return {};
    }
    std::string Read(const char* file) { return Slurp(Data + "/" + file); }
    ino_t Inode(const char* file) {
        struct stat st {};
        ::stat((Data + "/" + file).c_str(), &st);
        return st.st_ino;
    }
};

TEST_F(DesktopFilesTest, AFirstStartWritesBothFilesAndRunsTheTools) {
    FakeTool("update-desktop-database");
    FakeTool("update-mime-database");
    DesktopInstall done = InstallDesktopFiles(Program, Data);
    EXPECT_TRUE(done.DesktopEntryWritten);
    EXPECT_TRUE(done.MimePackageWritten);
    EXPECT_EQ(Read(DesktopEntryFile), DesktopEntryText(Program));
    EXPECT_EQ(Read(MimePackageFile), MimePackageText());
    EXPECT_EQ(WaitForRun("update-desktop-database"), Data + "/applications\n");
    EXPECT_EQ(WaitForRun("update-mime-database"), Data + "/mime\n");
}

TEST_F(DesktopFilesTest, FilesThatHoldTheirTextAreLeftAlone) {
    InstallDesktopFiles(Program, Data);
    const ino_t entry = Inode(DesktopEntryFile), package = Inode(MimePackageFile);
    FakeTool("update-desktop-database");
    DesktopInstall done = InstallDesktopFiles(Program, Data);
    EXPECT_FALSE(done.DesktopEntryWritten);
    EXPECT_FALSE(done.MimePackageWritten);
    EXPECT_EQ(Inode(DesktopEntryFile), entry);
    EXPECT_EQ(Inode(MimePackageFile), package);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(Slurp(Tools + "/update-desktop-database.ran"), "");
}

TEST_F(DesktopFilesTest, AMovedProgramOrAChangedFileIsWrittenAgain) {
    InstallDesktopFiles(Program, Data);
    DesktopInstall moved = InstallDesktopFiles("/usr/local/bin/mojuan", Data);
    EXPECT_TRUE(moved.DesktopEntryWritten);
    EXPECT_FALSE(moved.MimePackageWritten);
    EXPECT_EQ(Read(DesktopEntryFile), DesktopEntryText("/usr/local/bin/mojuan"));
    WriteFile(Data + "/" + MimePackageFile, "edited");
    EXPECT_TRUE(InstallDesktopFiles("/usr/local/bin/mojuan", Data).MimePackageWritten);
    EXPECT_EQ(Read(MimePackageFile), MimePackageText());
}

// A package puts both files under /usr/share; a program run from its build tree has no such
// neighbours and registers itself for the user.
TEST_F(DesktopFilesTest, AProgramInstalledWithItsDesktopFilesWritesNoCopies) {
    const std::string prefix = Dir / "usr";
    const std::string installed = prefix + "/bin/mojuan";
    std::filesystem::create_directories(prefix + "/share/applications");
    std::filesystem::create_directories(prefix + "/share/mime/packages");
    WriteFile(prefix + "/share/" + DesktopEntryFile, DesktopEntryText("mojuan", "mojuan"));
    EXPECT_FALSE(InstalledWithDesktopFiles(installed));
    WriteFile(prefix + "/share/" + MimePackageFile, MimePackageText());
    EXPECT_TRUE(InstalledWithDesktopFiles(installed));
    EXPECT_FALSE(InstalledWithDesktopFiles(prefix + "/app/mojuan"));
    const DesktopInstall done = InstallDesktopFiles(installed, Data);
    EXPECT_FALSE(done.DesktopEntryWritten);
    EXPECT_FALSE(done.MimePackageWritten);
    EXPECT_EQ(Read(DesktopEntryFile), "");
    EXPECT_TRUE(InstallDesktopFiles(Dir / "build/app/mojuan", Data).DesktopEntryWritten);
}

TEST_F(DesktopFilesTest, MissingToolsAndAnUnwritableFolderAreSilent) {
    EXPECT_FALSE(StartDetached("update-desktop-database", Data));
    EXPECT_TRUE(InstallDesktopFiles(Program, Data).DesktopEntryWritten);
    EXPECT_FALSE(InstallDesktopFiles(Program, "").DesktopEntryWritten);
    EXPECT_FALSE(InstallDesktopFiles("/bin/with\nnewline", Data).DesktopEntryWritten);
    const std::string locked = Dir / "locked";
    ::mkdir(locked.c_str(), 0700);
    ReadOnlyPath readOnly(locked);
    if (!readOnly.Active())
        GTEST_SKIP() << "cannot make a folder read-only here";
    DesktopInstall done = InstallDesktopFiles(Program, locked);
    EXPECT_FALSE(done.DesktopEntryWritten);
    EXPECT_FALSE(done.MimePackageWritten);
}

} // namespace
