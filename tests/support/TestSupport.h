#pragma once
// Helpers shared by the tests: files, the built program, JPEG inspection.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <map>
#include <vector>

namespace tarvix::test {

bool WriteBytes(const QString& path, const QByteArray& bytes);
QByteArray ReadBytes(const QString& path);

// The conformance corpus folder ("" when this checkout has none).
QString CorpusFolder();

// A run of the built program in isolated HOME, XDG_CONFIG_HOME and
// XDG_RUNTIME_DIR folders under home.
struct ProcessResult {
    int exitCode = -1;
    QString out;
    QString err;
    long peakKiB = 0;     // peak resident memory of the process
    qint64 elapsedMs = 0; // wall time from start to exit
    QStringList outLines() const;
};

class Sandbox {
public:
    Sandbox();
    QString Path(const QString& relative = QString()) const;
    QString Home() const { return Path(QStringLiteral("home")); }
    QString ConfigHome() const { return Path(QStringLiteral("config")); }
    QString RuntimeDir() const { return Path(QStringLiteral("runtime")); }
    ProcessResult Run(const QStringList& args, const QString& cwd = QString(),
                      const std::map<QString, QString>& extraEnv = {}) const;
    std::map<QString, QString> Environment() const;

private:
    QTemporaryDir dir_;
};

// A program left running while the test goes on; killed if still running at the end.
class BackgroundProcess {
public:
    // Standard error goes to errFile when one is named, else nowhere.
    BackgroundProcess(const QString& program, const QStringList& args, const QString& cwd,
                      const std::map<QString, QString>& env, const QString& errFile = QString());
    ~BackgroundProcess();
    bool Running();
    void Signal(int signal);
    // Waits for the end; the exit status, or -1 when it did not end in time.
    int Wait(int ms = 10000);
    int Pid() const { return pid_; }

private:
    int pid_ = -1;
    int status_ = -1;
};

// Runs any program with the given environment additions (a null value removes
// the variable); stdin is /dev/null.
ProcessResult RunProgram(const QString& program, const QStringList& args, const QString& cwd,
                         const std::map<QString, QString>& env);
QString TarvixBinary();

struct JpegInfo {
    bool ok = false;
    int width = 0, height = 0, components = 0;
    int hSamp[3] = {0, 0, 0}, vSamp[3] = {0, 0, 0};
    bool progressive = false;
    bool optimized = false; // Huffman tables differ from the standard ones
    bool hasJfif = false;
    std::vector<int> luminanceTable; // 64 entries in natural order
};
JpegInfo InspectJpeg(const QString& path);
// The luminance quantisation table the library writes for a quality.
std::vector<int> ExpectedLuminanceTable(int quality);

} // namespace tarvix::test
