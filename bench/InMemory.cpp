// Prints the milliseconds each texture below a folder takes to decode and
// encode with the default settings, in this process and in memory: what a
// folder run cannot avoid per file (the rest of its time per file is overhead).
//
//   tarvix_bench_in_memory FOLDER

#include "core/FormatRegistry.h"
#include "engine/Pipeline.h"
#include "request/ConversionRequest.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <cstdio>

using namespace tarvix;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    QStringList files;
    QDirIterator it(QString::fromLocal8Bit(argv[1]), {"*.dds"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    if (files.isEmpty()) return 1;
    FillFormatRegistry();
    Settings settings;
    ResetSettings(settings, false);
    RunState state;
    ResetRunState(state);
    state.conversionType = QStringLiteral("jpg");
    state.outputFolder = QStringLiteral("/nowhere/");
    const std::optional<ConversionRequest> request = BuildConversionRequest(state, settings);
    QByteArray memory;
    double ms = 0;
    for (int round = 0; round < 2; ++round) { // the first round warms the caches
        QElapsedTimer timer;
        timer.start();
        for (const QString& file : files) {
            FileJob job;
            job.input = file;
            job.memory = &memory;
            ConvertFile(*request, job);
        }
        ms = double(timer.nsecsElapsed()) / 1e6 / double(files.size());
    }
    std::printf("%.3f\n", ms);
    return 0;
}
