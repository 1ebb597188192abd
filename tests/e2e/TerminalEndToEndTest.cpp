// A long run at a terminal: the progress line on standard error, gone from the
// transcript once erased; lists of files from a scheduler.

#include "DdsBuilder.h"
#include "TestSupport.h"

#include <QDir>
#include <QRegularExpression>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tarvix::test;

namespace {

struct TerminalRun {
    QByteArray out, err;
    int status = -1;
};

// Runs the program with standard error on a pseudo-terminal of the given
// width and standard output in a pipe, as a user watching a redirected run.
// With interrupt, SIGINT is sent once the progress line has been drawn.
TerminalRun RunWithTerminal(const Sandbox& box, const QStringList& args, int columns,
                            bool interrupt = false) {
    TerminalRun run;
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return run;
    winsize size{};
    size.ws_col = (unsigned short)columns;
    size.ws_row = 24;
    const QByteArray slaveName = ::ptsname(master);
    int outPipe[2];
    if (::pipe(outPipe) != 0) return run;
    std::vector<QByteArray> store{QFile::encodeName(TarvixBinary())};
    for (const QString& a : args)
        store.push_back(a.toUtf8());
    std::vector<char*> argv;
    for (QByteArray& s : store)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int slave = ::open(slaveName.constData(), O_RDWR);
        ::ioctl(slave, TIOCSWINSZ, &size);
        ::dup2(slave, STDERR_FILENO);
        ::dup2(outPipe[1], STDOUT_FILENO);
        const int null = ::open("/dev/null", O_RDONLY);
        ::dup2(null, STDIN_FILENO);
        for (const auto& [key, value] : box.Environment())
            ::setenv(key.toUtf8().constData(), value.toUtf8().constData(), 1);
        ::chdir(QFile::encodeName(box.Path()).constData());
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(outPipe[1]);
    // Both read until the program ends; the terminal's end reports EIO then.
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    ::fcntl(outPipe[0], F_SETFL, O_NONBLOCK);
    char buffer[4096];
    bool interrupted = false;
    for (;;) {
        bool any = false;
        if (interrupt && !interrupted && run.err.contains("files")) {
            ::kill(pid, SIGINT);
            interrupted = true;
        }
        ssize_t n;
        while ((n = ::read(master, buffer, sizeof buffer)) > 0) {
            run.err.append(buffer, n);
            any = true;
        }
        while ((n = ::read(outPipe[0], buffer, sizeof buffer)) > 0) {
            run.out.append(buffer, n);
            any = true;
        }
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            while ((n = ::read(master, buffer, sizeof buffer)) > 0)
                run.err.append(buffer, n);
            while ((n = ::read(outPipe[0], buffer, sizeof buffer)) > 0)
                run.out.append(buffer, n);
            run.status = WIFEXITED(status)     ? WEXITSTATUS(status)
                         : WIFSIGNALED(status) ? 128 + WTERMSIG(status)
                                               : -1;
            break;
        }
        if (!any) ::usleep(2000);
    }
    ::close(master);
    ::close(outPipe[0]);
    // The terminal writes a line end as CR LF.
    run.err.replace("\r\n", "\n");
    return run;
}

class TerminalTest : public ::testing::Test {
protected:
    Sandbox box;
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(box.Path("pack")));
        for (int i = 0; i < 12; ++i)
            ASSERT_TRUE(WriteBytes(box.Path(QString("pack/t%1.dds").arg(i, 2, 10, QChar('0'))),
                                   DdsDxt1(TestPicture(64 + i, 64))));
        ASSERT_TRUE(WriteBytes(box.Path("pack/t05b.dds"), "DDS broken"));
    }
};

} // namespace

TEST_F(TerminalTest, TheProgressLineIsDrawnAndErasedLeavingTheTranscript) {
    const QStringList args{"-i", box.Path("pack"), "-o", box.Path("pack")};
    const ProcessResult plain = box.Run(args);
    EXPECT_FALSE(plain.err.contains('\r') || plain.err.contains("\x1b")) << "no terminal";
    for (int columns : {80, 20}) {
        SCOPED_TRACE(columns);
        const TerminalRun run = RunWithTerminal(box, args, columns);
        EXPECT_EQ(run.status, 1); // one file failed
        EXPECT_EQ(QString::fromUtf8(run.out), plain.out);
        // Each drawing: a carriage return, the line, the erase to its end.
        const QRegularExpression drawn("\r([^\r\x1b]*)\x1b\\[K");
        QStringList lines;
        for (auto it = drawn.globalMatch(QString::fromUtf8(run.err)); it.hasNext();)
            if (const QString line = it.next().captured(1); !line.isEmpty()) lines << line;
        ASSERT_FALSE(lines.isEmpty()) << run.err.toStdString();
        // The last file's drawing, shortened to what the width holds.
        EXPECT_EQ(lines.last(), columns > 23 ? "  13/13 files, 1 failed" : "  13/13 files");
        for (const QString& line : lines)
            EXPECT_LT(line.size(), columns) << line.toStdString();
        // Once erased, standard error reads as it does without a terminal.
        QString transcript = QString::fromUtf8(run.err);
        transcript.remove(drawn);
        transcript.remove("\r\x1b[K");
        EXPECT_EQ(transcript, plain.err);
    }
    // Never under -q.
    const TerminalRun quiet = RunWithTerminal(box, QStringList{"-q"} + args, 80);
    EXPECT_FALSE(quiet.err.contains("files")) << quiet.err.toStdString();
}

TEST_F(TerminalTest, AListOfFilesConvertsThoseFilesKeepingRelativeFolders) {
    ASSERT_TRUE(QDir().mkpath(box.Path("out")));
    ASSERT_TRUE(WriteBytes(box.Path("list.txt"), "# shard 1 of 2\n"
                                                 "pack/t01.dds\n"
                                                 "\n"
                                                 "./pack/t02.dds\n" +
                                                     box.Path("pack/t03.dds").toUtf8() +
                                                     "\n"
                                                     "pack/missing.dds\n"
                                                     "pack/t05b.dds\n"));
    const ProcessResult r = box.Run({"-q", "--file-list=list.txt", "-o", box.Path("out")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("Error: " + box.Path("pack/missing.dds") + " does not exist\n"))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Error: " + box.Path("pack/t05b.dds") + ": "));
    QStringList written;
    for (const char* f : {"out/pack/t01.jpg", "out/pack/t02.jpg", "out/t03.jpg"})
        if (QFile::exists(box.Path(f))) written << f;
    EXPECT_EQ(written.size(), 3) << written.join(' ').toStdString();

    // From standard input, as "find ... | tarvix --file-list=-" hands it over.
    const ProcessResult piped = RunProgram(
        "/bin/sh",
        {"-c", "printf 'pack/t07.dds\\n' | \"$0\" -q --file-list=- -o out", TarvixBinary()},
        box.Path(), box.Environment());
    EXPECT_EQ(piped.exitCode, 0) << piped.err.toStdString();
    EXPECT_TRUE(QFile::exists(box.Path("out/pack/t07.jpg")));
}

// Interrupted while the line shows: the terminal is left without it.
TEST_F(TerminalTest, AnInterruptedRunErasesTheLine) {
    ASSERT_TRUE(QDir().mkpath(box.Path("pack/many")));
    for (int i = 0; i < 300; ++i)
        ASSERT_TRUE(WriteBytes(box.Path(QString("pack/many/m%1.dds").arg(i)),
                               DdsDxt1(TestPicture(512, 512))));
    const TerminalRun run = RunWithTerminal(
        box, {"--jobs=1", "-i", box.Path("pack"), "-o", box.Path("pack")}, 80, true);
    EXPECT_EQ(run.status, 128 + SIGINT);
    ASSERT_TRUE(run.err.contains("files")) << run.err.toStdString();
    EXPECT_TRUE(run.err.endsWith("\r\x1b[K")) << run.err.right(80).toStdString();
}
