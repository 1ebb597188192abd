#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QElapsedTimer>
#include <csetjmp>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <jpeglib.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tarvix::test {

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return f.write(bytes) == bytes.size();
}

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray();
    return f.readAll();
}

QString CorpusFolder() {
    // The shared test data when this checkout sits beside it, else the copy in
    // the repository.
    for (const QString& folder : {QStringLiteral(TARVIX_TESTDATA_DIR "/dds"),
                                  QStringLiteral(TARVIX_SOURCE_DIR "/tests/data/dds")})
        if (QFileInfo(folder + QStringLiteral("/MANIFEST.csv")).exists()) return folder;
    return QString();
}

QString TarvixBinary() {
    return QStringLiteral(TARVIX_BINARY);
}

QStringList ProcessResult::outLines() const {
    QStringList lines = out.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.pop_back();
    return lines;
}

Sandbox::Sandbox() {
    QDir(dir_.path()).mkpath(QStringLiteral("home"));
    QDir(dir_.path()).mkpath(QStringLiteral("config"));
    QDir(dir_.path()).mkpath(QStringLiteral("runtime"));
    // A runtime folder is private to its user, as the session's own is.
    QFile::setPermissions(RuntimeDir(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QString Sandbox::Path(const QString& relative) const {
    return relative.isEmpty() ? dir_.path() : dir_.path() + QLatin1Char('/') + relative;
}

std::map<QString, QString> Sandbox::Environment() const {
    return {{QStringLiteral("HOME"), Home()},
            {QStringLiteral("XDG_CONFIG_HOME"), ConfigHome()},
            {QStringLiteral("XDG_RUNTIME_DIR"), RuntimeDir()},
            {QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen")}};
}

ProcessResult Sandbox::Run(const QStringList& args, const QString& cwd,
                           const std::map<QString, QString>& extraEnv) const {
    std::map<QString, QString> env = Environment();
    for (const auto& [k, v] : extraEnv)
        env[k] = v;
    return RunProgram(TarvixBinary(), args, cwd.isEmpty() ? Path() : cwd, env);
}

namespace {

// argv and envp for posix_spawn, with the storage they point into.
struct SpawnArguments {
    std::vector<QByteArray> store;
    std::vector<char*> argv, envp;
    SpawnArguments(const QString& program, const QStringList& args,
                   const std::map<QString, QString>& env) {
        store.push_back(QFile::encodeName(program));
        for (const QString& a : args)
            store.push_back(a.toUtf8());
        const size_t argCount = store.size();
        for (char** e = environ; *e; ++e) {
            const QByteArray entry(*e);
            if (env.count(QString::fromLocal8Bit(entry.left(entry.indexOf('=')))) == 0)
                store.push_back(entry);
        }
        for (const auto& [k, v] : env)
            if (!v.isNull()) store.push_back((k + QLatin1Char('=') + v).toUtf8());
        for (size_t i = 0; i < store.size(); ++i)
            (i < argCount ? argv : envp).push_back(store[i].data());
        argv.push_back(nullptr);
        envp.push_back(nullptr);
    }
};

} // namespace

ProcessResult RunProgram(const QString& program, const QStringList& args, const QString& cwd,
                         const std::map<QString, QString>& env) {
    ProcessResult result;
    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0) return result;

    SpawnArguments spawn(program, args, env);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    posix_spawn_file_actions_addclose(&actions, outPipe[0]);
    posix_spawn_file_actions_addclose(&actions, errPipe[0]);
    const QByteArray cwdBytes = QFile::encodeName(cwd);
    posix_spawn_file_actions_addchdir_np(&actions, cwdBytes.constData());

    QElapsedTimer timer;
    timer.start();
    pid_t pid = -1;
    const int rc =
        posix_spawn(&pid, spawn.argv[0], &actions, nullptr, spawn.argv.data(), spawn.envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    if (rc != 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        return result;
    }
    QByteArray out, err;
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    int open = 2;
    while (open > 0) {
        if (poll(fds, 2, -1) < 0) break;
        for (pollfd& p : fds) {
            if (p.fd < 0 || !(p.revents & (POLLIN | POLLHUP | POLLERR))) continue;
            char buffer[65536];
            const ssize_t n = read(p.fd, buffer, sizeof buffer);
            if (n <= 0) {
                close(p.fd);
                p.fd = -1;
                --open;
            } else {
                (p.fd == outPipe[0] ? out : err).append(buffer, int(n));
            }
        }
    }
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    result.peakKiB = usage.ru_maxrss;
    result.elapsedMs = timer.elapsed();
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = QString::fromUtf8(out);
    result.err = QString::fromUtf8(err);
    return result;
}

namespace {
struct JpegError {
    jpeg_error_mgr mgr;
    jmp_buf jump;
};
} // namespace

BackgroundProcess::BackgroundProcess(const QString& program, const QStringList& args,
                                     const QString& cwd, const std::map<QString, QString>& env,
                                     const QString& errFile) {
    SpawnArguments spawn(program, args, env);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const QByteArray errPath =
        errFile.isEmpty() ? QByteArray("/dev/null") : QFile::encodeName(errFile);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    const QByteArray cwdBytes = QFile::encodeName(cwd);
    posix_spawn_file_actions_addchdir_np(&actions, cwdBytes.constData());
    if (posix_spawn(&pid_, spawn.argv[0], &actions, nullptr, spawn.argv.data(),
                    spawn.envp.data()) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
}

BackgroundProcess::~BackgroundProcess() {
    if (Running()) {
        kill(pid_, SIGKILL);
        Wait(5000);
    }
}

bool BackgroundProcess::Running() {
    if (pid_ < 0 || status_ >= 0) return false;
    int status = 0;
    const pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return false;
    }
    return r == 0;
}

void BackgroundProcess::Signal(int signal) {
    if (Running()) kill(pid_, signal);
}

int BackgroundProcess::Wait(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (Running()) {
        if (timer.elapsed() > ms) return -1;
        usleep(10000);
    }
    return status_;
}

JpegInfo InspectJpeg(const QString& path) {
    JpegInfo info;
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!file) return info;
    jpeg_decompress_struct cinfo;
    JpegError jerr;
    cinfo.err = jpeg_std_error(&jerr.mgr);
    jerr.mgr.error_exit = [](j_common_ptr c) {
        longjmp(reinterpret_cast<JpegError*>(c->err)->jump, 1);
    };
    if (setjmp(jerr.jump) == 0) {
        jpeg_create_decompress(&cinfo);
        jpeg_stdio_src(&cinfo, file);
        jpeg_read_header(&cinfo, TRUE);
        info.width = int(cinfo.image_width);
        info.height = int(cinfo.image_height);
        info.components = cinfo.num_components;
        for (int c = 0; c < std::min(3, cinfo.num_components); ++c) {
            info.hSamp[c] = cinfo.comp_info[c].h_samp_factor;
            info.vSamp[c] = cinfo.comp_info[c].v_samp_factor;
        }
        info.progressive = cinfo.progressive_mode;
        info.hasJfif = cinfo.saw_JFIF_marker;
        if (cinfo.quant_tbl_ptrs[0]) {
            for (int i = 0; i < 64; ++i)
                info.luminanceTable.push_back(cinfo.quant_tbl_ptrs[0]->quantval[i]);
        }
        // Standard DC luminance table bits: 0 1 5 1 1 1 1 1 1 0 ...
        static const UINT8 standardBits[17] = {0, 0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
        if (cinfo.dc_huff_tbl_ptrs[0])
            info.optimized = std::memcmp(cinfo.dc_huff_tbl_ptrs[0]->bits, standardBits,
                                         sizeof standardBits) != 0;
        info.ok = true;
    }
    jpeg_destroy_decompress(&cinfo);
    std::fclose(file);
    return info;
}

std::vector<int> ExpectedLuminanceTable(int quality) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    cinfo.in_color_space = JCS_RGB;
    cinfo.input_components = 3;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    std::vector<int> table;
    for (int i = 0; i < 64; ++i)
        table.push_back(cinfo.quant_tbl_ptrs[0]->quantval[i]);
    jpeg_destroy_compress(&cinfo);
    return table;
}

} // namespace tarvix::test
