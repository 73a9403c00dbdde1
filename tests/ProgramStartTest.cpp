// test-links: mojuan_app
#include "app/ProgramStart.h"
#include "StoreTestSupport.h"
#include "records/SettingsStore.h"
#include "text/GbkText.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(ProgramStartTest, ArgumentsAreTheBytesTheSystemPassed) {
    std::string gbName = "/books/" + gbk::FromUtf8("红楼梦.txt");
    std::string quit = "--quit-after-first-paint";
    std::string program = "mojuan";
    char* argv[] = {program.data(), gbName.data(), quit.data(), nullptr};
    const ProgramArguments arguments = TakeArguments(3, argv);
    EXPECT_EQ(arguments.Documents, std::vector<std::string>{gbName});
    EXPECT_TRUE(arguments.QuitAfterFirstPaint);
}

// The whole program, started as the file manager starts it on a file whose name is GBK bytes
// (copied from Windows): the file opens, and the store keeps its name byte for byte.
TEST(ProgramStartTest, AFileNamedInGbkBytesOpensFromTheCommandLine) {
    ScratchDir dir;
    const std::string path = dir / gbk::FromUtf8("水浒传.txt");
    WriteFile(path, "text\r\n");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::string quit = "--quit-after-first-paint", name = path;
        char* argv[] = {const_cast<char*>(MOJUAN_PROGRAM), quit.data(), name.data(), nullptr};
        execv(MOJUAN_PROGRAM, argv);
        _exit(127);
    }
    // A name the program could not open leaves a message box waiting for ever.
    int status = 0;
    pid_t done = 0;
    for (int waited = 0; done == 0 && waited < 30000; waited += 20) {
        done = waitpid(child, &status, WNOHANG);
        if (done == 0)
            usleep(20000);
    }
    if (done == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        FAIL() << "the program did not finish: a message box is waiting";
    }
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    Registry reg(Registry::DefaultPath());
    EXPECT_EQ(reg.ReadRegStr(FileKey, "上次关闭文件", ""), path);
}

} // namespace
