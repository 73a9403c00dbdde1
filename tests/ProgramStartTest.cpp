// test-links: mojuan_app
#include "app/ProgramStart.h"
#include "app/SingleInstance.h"
#include "StoreTestSupport.h"
#include "records/SettingsStore.h"
#include "text/GbkText.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <sys/stat.h>
#include <thread>
#include <sys/socket.h>
#include <sys/un.h>

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

// Lets the event loop run until `done` or the time is up.
template <typename Done>
bool RunEventsUntil(Done done, int ms) {
    const QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// Two real processes: the program started a second time hands the running reader its document,
// resolved against its own folder, and ends at once.
TEST(ProgramStartTest, ASecondStartHandsItsDocumentToTheRunningReader) {
    ScratchDir dir;
    WriteFile(dir / "b.txt", "text\r\n");
    SingleInstance first(Registry::DefaultPath());
    ASSERT_TRUE(first.Listen());
    std::vector<std::vector<std::string>> received;
    QObject::connect(&first, &SingleInstance::Received,
                     [&received](const std::vector<std::string>& names) {
                         received.push_back(names);
                     });
    QProcess second;
    second.setWorkingDirectory(QString::fromStdString(dir.Path()));
    second.start(QStringLiteral(MOJUAN_PROGRAM), {QStringLiteral("b.txt")});
    const bool ended = RunEventsUntil(
        [&] { return second.state() == QProcess::NotRunning && !received.empty(); }, 20000);
    if (second.state() != QProcess::NotRunning)
        second.kill();
    ASSERT_TRUE(ended) << "the second start did not hand over and end";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(received, (std::vector<std::vector<std::string>>{{dir / "b.txt"}}));
}

// A reader that was killed leaves its socket behind: nobody answers there, so a start runs
// alone and takes the socket over.
TEST(ProgramStartTest, AStartThatReachesNoReaderRunsAloneAndServesLaterStarts) {
    SingleInstance alone(Registry::DefaultPath());
    const std::string name = alone.Name().toStdString();
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::copy(name.begin(), name.end(), address.sun_path);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(fd); // the socket file stays, with nobody behind it
    EXPECT_FALSE(alone.HandOver({"/books/a.txt"}));
    ASSERT_TRUE(alone.Listen());
    struct stat st {};
    ASSERT_EQ(stat(name.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u) << "only this user may reach the reader";

    // A caller that sends no hand-over is cut off without an answer; later starts are served.
    const int junk = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(connect(junk, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(write(junk, "GET / HTTP/1.1\r\n", 16), 16);
    std::vector<std::vector<std::string>> received;
    QObject::connect(&alone, &SingleInstance::Received,
                     [&received](const std::vector<std::string>& names) {
                         received.push_back(names);
                     });
    std::atomic<int> handed = -1;
    std::thread later([&handed] {
        handed = SingleInstance(Registry::DefaultPath()).HandOver({"/books/b.txt"});
    });
    RunEventsUntil([&] { return handed >= 0 && !received.empty(); }, 10000);
    later.join();
    EXPECT_EQ(handed, 1);
    EXPECT_EQ(received, (std::vector<std::vector<std::string>>{{"/books/b.txt"}}));
    const timeval wait{5, 0};
    setsockopt(junk, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    char answer = 0;
    EXPECT_EQ(read(junk, &answer, 1), 0);
    close(junk);
}

// The message keeps the layout QDataStream gives, so a reader of an earlier build still
// understands a later start; until its last byte has arrived, a message is only incomplete.
TEST(ProgramStartTest, TheHandOverMessageIsReadOnlyWhenWhole) {
    const std::vector<std::string> names{"/books/a.txt", "", gbk::FromUtf8("/书/红楼梦.txt")};
    const std::string message = HandOverMessage(names);
    QByteArray streamed;
    QDataStream out(&streamed, QIODevice::WriteOnly);
    out << quint32(0x6d6a7231)
        << QList<QByteArray>{"/books/a.txt", "", QByteArray::fromStdString(names[2])};
    EXPECT_EQ(message, streamed.toStdString());
    bool bad = true;
    EXPECT_EQ(ReadHandOverMessage(message, bad), names);
    for (std::size_t cut = 0; cut < message.size(); ++cut) {
        EXPECT_FALSE(ReadHandOverMessage(message.substr(0, cut), bad)) << cut;
        EXPECT_FALSE(bad) << cut;
    }
    EXPECT_FALSE(ReadHandOverMessage("GET / HTTP/1.1", bad));
    EXPECT_TRUE(bad);
}

// SIGTERM while the first document opens (here its warning waits for the reader) closes the
// book with its save instead of ending the process at once.
TEST(ProgramStartTest, ATerminationWhileTheFirstDocumentOpensClosesWithTheSave) {
    ScratchDir dir;
    const std::string store = Registry::DefaultPath();
    std::remove(store.c_str());
    QProcess reader;
    reader.start(QStringLiteral(MOJUAN_PROGRAM), {QString::fromStdString(dir / "missing.txt")});
    const auto started = [&] {
        const std::vector<std::string> names = NamesInInsertOrder(store);
        return std::find(names.begin(), names.end(), "注册") != names.end();
    };
    ASSERT_TRUE(RunEventsUntil(started, 20000)) << "the reader did not start";
    reader.terminate();
    const bool ended = RunEventsUntil([&] { return reader.state() == QProcess::NotRunning; }, 20000);
    if (!ended)
        reader.kill();
    ASSERT_TRUE(ended);
    EXPECT_EQ(reader.exitStatus(), QProcess::NormalExit);
    Registry reg(store);
    EXPECT_EQ(reg.ReadRegInt(FileKey, "上次关闭文件索引", 0), -1); // written by the close
}

} // namespace
