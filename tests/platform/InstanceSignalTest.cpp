#include "platform/InstanceSignal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tarvix;

namespace {

// Without a runtime folder, in a temporary folder of the test's own.
class NoRuntimeFolder {
public:
    NoRuntimeFolder() {
        ::chmod(QFile::encodeName(tmp.path()).constData(), 0777); // as /tmp is
        runtime = qgetenv("XDG_RUNTIME_DIR");
        tmpdir = qgetenv("TMPDIR");
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(tmp.path()));
    }
    ~NoRuntimeFolder() {
        qputenv("XDG_RUNTIME_DIR", runtime);
        qputenv("TMPDIR", tmpdir);
    }
    QTemporaryDir tmp;
    QByteArray runtime, tmpdir;
};

} // namespace

TEST(InstanceSignal, OwnPrivateFolderWithoutARuntimeFolder) {
    NoRuntimeFolder env;
    QString problem;
    const QString path = InstanceSocketPath(&problem);
    ASSERT_FALSE(path.isEmpty()) << problem.toStdString();
    EXPECT_TRUE(path.startsWith(env.tmp.path() + "/")) << path.toStdString();
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(QFileInfo(path).path()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(IsOwnSocketOrAbsent(path));
    // A plain file where the socket would be is never taken for it.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_FALSE(IsOwnSocketOrAbsent(path, &problem));
    EXPECT_FALSE(SignalRunningInstance("/home/me/secret.dds"));
}

// Another local user who makes the folder first and listens in it receives
// nothing: the folder is refused, no knock is sent.
TEST(InstanceSignal, AnotherUsersSocketIsNeverConnectedTo) {
    if (::geteuid() != 0) GTEST_SKIP() << "acting as another user needs root";
    NoRuntimeFolder env;
    const QString folder =
        env.tmp.path() + QStringLiteral("/Orvella DDS to JPG 2.7-%1").arg(::geteuid());
    const QByteArray socketPath = QFile::encodeName(folder + "/instance.socket");
    int ready[2], heard[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(heard), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The other user: nobody.
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
        ::umask(0);
        if (::mkdir(QFile::encodeName(folder).constData(), 0777) != 0) ::_exit(4);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, socketPath.constData(), size_t(socketPath.size()));
        if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(fd, 4) != 0)
            ::_exit(5);
        (void)::write(ready[1], "r", 1);
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 1000) > 0) (void)::write(heard[1], "k", 1);
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    QString problem;
    EXPECT_TRUE(InstanceSocketPath(&problem).isEmpty());
    EXPECT_TRUE(problem.contains("is not a private folder of this user")) << problem.toStdString();
    EXPECT_FALSE(SignalRunningInstance("/home/me/secret.dds"));
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    pollfd p{heard[0], POLLIN, 0};
    EXPECT_EQ(::poll(&p, 1, 0), 0) << "the other user's socket was knocked at";
    for (int fd : {ready[0], ready[1], heard[0], heard[1]})
        ::close(fd);
}
