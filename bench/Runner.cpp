// Runs each tool on each benchmark file, interleaved run by run after a warm-up,
// and prints the median wall time and peak resident memory of each whole
// process with its ratio to the floor, and the cost per megapixel.
//
//   tarvix_bench_run CORPUS-FOLDER [runs] [file-filter]
//
// Then, when the corpus has its "pack/" folder, the whole folder converted by
// tarvix with one job and with one per core, and by ImageMagick's mogrify; and
// with "small/", its 1,000 small textures by tarvix against the floor once per
// file, with the cost per file beyond its decode and encode; and with "thumb/",
// 256-pixel thumbnails of a 4096² texture with and without mip levels against
// converting the same file.
//
// Tools: the floor (bench/Floor.cpp), tarvix with the defaults, tarvix with a
// typical edit set, ImageMagick's convert and OpenImageIO's oiiotool (skipped
// when not installed). Quote the ratios: the machine is shared and noisy.

#include "TestSupport.h"
#include <QElapsedTimer>

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

// Every texture below a folder, sorted.
QStringList TexturesBelow(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, {"*.dds"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

// The texture pack as a whole: files per second of each tool, runs interleaved.
void RunFolderBench(const QString& pack, int runs, const std::map<QString, QString>& env,
                    const QString& work) {
    const QStringList files = TexturesBelow(pack);
    if (files.isEmpty()) return;
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

// A folder of many small textures: the default run against the floor once per
// file, and what each file costs beyond its decode and encode.
void RunSmallFolderBench(const QString& folder, int runs, const std::map<QString, QString>& env,
                         const QString& work, const QString& benchFolder) {
    const QString floor = benchFolder + "/tarvix_floor";
    const QStringList files = TexturesBelow(folder);
    if (files.isEmpty()) return;
    const QString out = work + "/small-out";
    std::vector<double> folderMs, serialMs, floorMs;
    for (int round = -1; round < runs; ++round) {
        for (const char* jobs : {"", "--jobs=1"}) {
            QDir(out).removeRecursively();
            QDir().mkpath(out);
            QStringList args{"-q", "-i", folder, "-o", out};
            if (*jobs) args << jobs;
            const ProcessResult r = RunProgram(TarvixBinary(), args, work, env);
            if (round >= 0) (*jobs ? serialMs : folderMs).push_back(double(r.elapsedMs));
        }
    }
    // The floor once per file, all files, twice (the first warms the caches).
    for (int round = 0; round < 2; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (const QString& file : files)
            RunProgram(floor, {file, work + "/floor.jpg"}, work, env);
        if (round == 1) floorMs.push_back(double(timer.elapsed()));
    }
    const double n = double(files.size());
    const double folderRun = Median(folderMs), serialRun = Median(serialMs);
    // In a process of its own: this one's memory would count in every child's peak.
    const ProcessResult measured =
        RunProgram(benchFolder + "/tarvix_bench_in_memory", {folder}, work, env);
    const double inProcess = measured.out.trimmed().toDouble();
    std::printf("\nfolder of %lld 256x256 textures (DXT1, DXT5, BC7 in turn), %d processors "
                "online\n  %-26s %9s %11s %10s\n",
                static_cast<long long>(files.size()), int(::sysconf(_SC_NPROCESSORS_ONLN)), "run",
                "wall ms", "ms per file", "vs floor");
    const double floorRun = floorMs.empty() ? 0 : floorMs.front();
    auto row = [&](const char* name, double ms) {
        std::printf("  %-26s %9.0f %11.2f %9.2fx\n", name, ms, ms / n,
                    floorRun > 0 ? ms / floorRun : 0.0);
    };
    row("tarvix (default jobs)", folderRun);
    row("tarvix --jobs=1", serialRun);
    row("floor, once per file", floorRun);
    std::printf("  decode + encode in memory: %.2f ms per file; beyond it, per file at --jobs=1: "
                "%.2f ms\n",
                inProcess, serialRun / n - inProcess);
}

// Thumbnails of 256 pixels against the default conversion of the same file,
// interleaved.
void RunThumbnailBench(const QString& folder, int runs, const std::map<QString, QString>& env,
                       const QString& work) {
    QDir().mkpath(work + "/thumb-out");
    for (const char* name : {"dxt5_4096_mips.dds", "dxt5_4096.dds"}) {
        const QString in = folder + "/" + name;
        if (!QFileInfo::exists(in)) continue;
        std::vector<double> ms[2], mib[2];
        for (int round = -1; round < runs; ++round)
            for (int k = 0; k < 2; ++k) {
                const QStringList args =
                    k == 0 ? QStringList{"--thumbnail", "256", in, work + "/thumb.png"}
                           : QStringList{"-q", "-i", in, "-o", work + "/thumb-out"};
                const ProcessResult r = RunProgram(TarvixBinary(), args, work, env);
                if (round >= 0 && r.exitCode == 0) {
                    ms[k].push_back(double(r.elapsedMs));
                    mib[k].push_back(r.peakKiB / 1024.0);
                }
            }
        const double convertMs = Median(ms[1]), convertMib = Median(mib[1]);
        std::printf("\n%s: thumbnail of 256 against converting it\n  %-22s %9s %9s %10s %10s\n",
                    name, "run", "wall ms", "peak MiB", "wall/conv", "mem/conv");
        const char* rows[] = {"tarvix --thumbnail 256", "tarvix (default)"};
        for (int k = 0; k < 2; ++k)
            std::printf("  %-22s %9.1f %9.1f %10.2f %10.2f\n", rows[k], Median(ms[k]),
                        Median(mib[k]), convertMs > 0 ? Median(ms[k]) / convertMs : 0.0,
                        convertMib > 0 ? Median(mib[k]) / convertMib : 0.0);
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
    RunSmallFolderBench(corpus + "/small", std::min(runs, 5), env, work.path(), benchFolder);
    RunThumbnailBench(corpus + "/thumb", runs, env, work.path());
    return 0;
}
