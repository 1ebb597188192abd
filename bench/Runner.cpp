// Runs each tool on each benchmark file, interleaved run by run after a warm-up,
// and prints the median wall time and peak resident memory of each whole
// process with its ratio to the floor, and the cost per megapixel.
//
//   tarvix_bench_run CORPUS-FOLDER [runs] [file-filter]
//
// Then, when the corpus has its "pack/" folder, the whole folder converted by
// tarvix with one job and with one per core, and by ImageMagick's mogrify.
//
// Tools: the floor (bench/Floor.cpp), tarvix with the defaults, tarvix with a
// typical edit set, ImageMagick's convert and OpenImageIO's oiiotool (skipped
// when not installed). Quote the ratios: the machine is shared and noisy.

#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <map>
#include <unistd.h>
#include <vector>

using namespace tarvix::test;

namespace {

struct Tool {
    QString name;
    QString program;
    std::function<QStringList(const QString& in, const QString& out)> args;
};

struct Sample {
    double ms;
    double mib;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

int SideOf(const QString& name) {
    const QString digits = QFileInfo(name).baseName().section('_', -1);
    return digits.toInt();
}

// The texture pack as a whole: files per second of each tool, runs interleaved.
void RunFolderBench(const QString& pack, int runs, const std::map<QString, QString>& env,
                    const QString& work) {
    QStringList files;
    QDirIterator it(pack, {"*.dds"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    if (files.isEmpty()) return;
    files.sort();
    const QString out = work + "/pack-out";
    struct Entry {
        QString name, program;
        QStringList args;
    };
    std::vector<Entry> entries = {
        {"tarvix --jobs=1", TarvixBinary(), {"-q", "-i", pack, "-o", out, "--jobs=1"}},
        {"tarvix --jobs=2", TarvixBinary(), {"-q", "-i", pack, "-o", out, "--jobs=2"}},
    };
    const QString mogrify = QStandardPaths::findExecutable("mogrify");
    if (!mogrify.isEmpty())
        entries.push_back({"mogrify", mogrify,
                           QStringList{"-path", out, "-format", "jpg", "-quality", "95",
                                       "-sampling-factor", "1x1"} +
                               files});
    std::map<QString, std::vector<double>> ms, mib;
    std::map<QString, bool> failed;
    for (int round = -1; round < runs; ++round) {
        for (size_t k = 0; k < entries.size(); ++k) {
            const Entry& e = entries[(k + size_t(std::max(0, round))) % entries.size()];
            QDir(out).removeRecursively();
            QDir().mkpath(out);
            const ProcessResult r = RunProgram(e.program, e.args, work, env);
            if (r.exitCode != 0) failed[e.name] = true;
            if (round >= 0) {
                ms[e.name].push_back(double(r.elapsedMs));
                mib[e.name].push_back(r.peakKiB / 1024.0);
            }
        }
    }
    std::printf("\nfolder of %lld 1024x1024 DXT5 textures in subfolders, %d processors online\n"
                "  %-16s %9s %9s %9s %12s\n",
                static_cast<long long>(files.size()), int(::sysconf(_SC_NPROCESSORS_ONLN)), "tool",
                "wall ms", "peak MiB", "files/s", "vs --jobs=1");
    const double serial = Median(ms["tarvix --jobs=1"]);
    for (const Entry& e : entries) {
        if (failed[e.name]) {
            std::printf("  %-16s %9s\n", qPrintable(e.name), "fails");
            continue;
        }
        const double m = Median(ms[e.name]);
        std::printf("  %-16s %9.1f %9.1f %9.1f %11.2fx\n", qPrintable(e.name), m,
                    Median(mib[e.name]), m > 0 ? 1000.0 * double(files.size()) / m : 0.0,
                    m > 0 ? serial / m : 0.0);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER [runs] [file-filter]\n", argv[0]);
        return 2;
    }
    const QString corpus = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(5, atoi(argv[2])) : 5;
    const QString filter = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    const QString benchFolder = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath();
    QTemporaryDir work;
    QDir(work.path()).mkpath("runtime");
    QFile::setPermissions(work.path() + "/runtime",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const std::map<QString, QString> env = {{"XDG_RUNTIME_DIR", work.path() + "/runtime"},
                                            {"XDG_CONFIG_HOME", work.path() + "/config"},
                                            {"HOME", work.path()}};

    std::vector<Tool> tools;
    tools.push_back(
        {"floor", benchFolder + "/tarvix_floor", [](const QString& in, const QString& out) {
             return QStringList{in, out};
         }});
    tools.push_back({"tarvix", TarvixBinary(), [](const QString& in, const QString& out) {
                         return QStringList{"-q",
                                            "-i",
                                            in,
                                            "-o",
                                            QFileInfo(out).path(),
                                            "--filename-mask=" + QFileInfo(out).fileName()};
                     }});
    tools.push_back({"tarvix+edits", TarvixBinary(), [](const QString& in, const QString& out) {
                         return QStringList{"-q",
                                            "-i",
                                            in,
                                            "-o",
                                            QFileInfo(out).path(),
                                            "--filename-mask=" + QFileInfo(out).fileName(),
                                            "--width=50",
                                            "--width-unit=percent",
                                            "--height=50",
                                            "--height-unit=percent",
                                            "--fr-solid-left=16",
                                            "--fr-solid-right=16",
                                            "--fr-solid-top=16",
                                            "--fr-solid-bottom=16",
                                            "--fr-solid-left-color=FF8000",
                                            "--wm-text=Orvella %width%x%height%",
                                            "--wm-font=DejaVu Sans",
                                            "--wm-font-size=24",
                                            "--wm-back-opacity=128"};
                     }});
    const QString convert = QStandardPaths::findExecutable("convert");
    if (!convert.isEmpty())
        tools.push_back({"convert", convert, [](const QString& in, const QString& out) {
                             return QStringList{in,    "-quality", "95", "-sampling-factor",
                                                "1x1", out};
                         }});
    const QString oiiotool = QStandardPaths::findExecutable("oiiotool");
    if (!oiiotool.isEmpty())
        tools.push_back(
            {"oiiotool", oiiotool, [](const QString& in, const QString& out) {
                 return QStringList{
                     in,      "--ch",          "R,G,B",   "--attrib", "jpeg:subsampling",
                     "4:4:4", "--compression", "jpeg:95", "-o",       out};
             }});

    QStringList files = QDir(corpus).entryList({"*.dds"}, QDir::Files, QDir::Name);
    std::sort(files.begin(), files.end(), [](const QString& a, const QString& b) {
        return std::pair(a.section('_', 0, 0), SideOf(a)) <
               std::pair(b.section('_', 0, 0), SideOf(b));
    });
    std::printf("%d runs per tool and file, interleaved after one warm-up; medians.\n", runs);
    // ms per megapixel by tool and file, for the growth table.
    std::map<QString, std::map<QString, double>> perMegapixel;
    for (const QString& file : files) {
        if (!filter.isEmpty() && !file.contains(filter)) continue;
        const QString in = corpus + "/" + file;
        const int side = SideOf(file);
        const double megapixels = double(side) * side / 1e6;
        std::map<QString, std::vector<Sample>> samples;
        std::map<QString, bool> failed;
        for (int round = -1; round < runs; ++round) {
            for (size_t k = 0; k < tools.size(); ++k) {
                const Tool& tool = tools[(k + size_t(std::max(0, round))) % tools.size()];
                if (failed[tool.name]) continue;
                const QString out = work.path() + "/" + tool.name + ".jpg";
                QFile::remove(out);
                const ProcessResult r =
                    RunProgram(tool.program, tool.args(in, out), work.path(), env);
                if (r.exitCode != 0 || !QFileInfo(out).exists()) {
                    failed[tool.name] = true;
                    continue;
                }
                if (round >= 0)
                    samples[tool.name].push_back({double(r.elapsedMs), r.peakKiB / 1024.0});
            }
        }
        std::printf("\n%s (%.1f MP)\n  %-14s %9s %9s %10s %10s %9s\n", qPrintable(file), megapixels,
                    "tool", "wall ms", "peak MiB", "wall/floor", "mem/floor", "ms/MP");
        std::vector<double> floorMs, floorMib;
        for (const Sample& s : samples["floor"])
            floorMs.push_back(s.ms), floorMib.push_back(s.mib);
        const double fMs = Median(floorMs), fMib = Median(floorMib);
        for (const Tool& tool : tools) {
            if (failed[tool.name]) {
                std::printf("  %-14s %9s\n", qPrintable(tool.name), "fails");
                continue;
            }
            std::vector<double> ms, mib;
            for (const Sample& s : samples[tool.name])
                ms.push_back(s.ms), mib.push_back(s.mib);
            const double m = Median(ms), r = Median(mib);
            perMegapixel[tool.name][file] = m / megapixels;
            std::printf("  %-14s %9.1f %9.1f %10.2f %10.2f %9.2f\n", qPrintable(tool.name), m, r,
                        fMs > 0 ? m / fMs : 0.0, fMib > 0 ? r / fMib : 0.0, m / megapixels);
        }
    }
    std::printf("\nms per megapixel by size (DXT5)\n  %-14s", "tool");
    const int sides[] = {256, 1024, 2048, 4096, 8192};
    for (int side : sides)
        std::printf(" %8d", side);
    std::printf("\n");
    for (const Tool& tool : tools) {
        std::printf("  %-14s", qPrintable(tool.name));
        for (int side : sides) {
            const auto& row = perMegapixel[tool.name];
            const auto it = row.find(QStringLiteral("dxt5_%1.dds").arg(side));
            if (it == row.end())
                std::printf(" %8s", "-");
            else
                std::printf(" %8.2f", it->second);
        }
        std::printf("\n");
    }
    RunFolderBench(corpus + "/pack", runs, env, work.path());
    return 0;
}
