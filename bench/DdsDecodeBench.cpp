// Decode throughput of the DDS reader per format on 4096 x 4096 textures, beside
// the image library's own DXT5 load of the same size, measured in one run.
//
//   build/bench/tarvix_dds_decode_bench [corpus-folder] [repeats]
//
// Block data for BC4 to BC7 is tiled from the corpus files when they are there
// (a realistic mix of modes), else random.

#include "DdsBuilder.h"
#include "TestSupport.h"
#include "dds/DdsReader.h"
#include "engine/PixelStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

using namespace tarvix;
using namespace tarvix::test;

namespace {

constexpr int kSize = 4096;

QByteArray Tiled(const QByteArray& blocks, int blockBytes) {
    const int count = (kSize / 4) * (kSize / 4);
    QByteArray out;
    out.reserve(count * blockBytes);
    const int available = int(blocks.size() / blockBytes);
    for (int i = 0; i < count; ++i)
        out += blocks.mid((i % available) * blockBytes, blockBytes);
    return out;
}

QByteArray RandomBytes(qsizetype n) {
    std::mt19937 rng(42);
    QByteArray out(n, Qt::Uninitialized);
    for (char& c : out)
        c = char(rng());
    return out;
}

// The top level of a corpus file's blocks, or random blocks.
QByteArray Blocks(const QString& corpus, const char* file, qsizetype offset, qsizetype bytes,
                  int blockBytes) {
    QByteArray data;
    if (!corpus.isEmpty()) data = ReadBytes(corpus + "/" + file).mid(offset, bytes);
    if (data.size() < blockBytes) data = RandomBytes(4096 * blockBytes);
    return Tiled(data, blockBytes);
}

QByteArray Legacy(const char* fourCC, const QByteArray& blocks) {
    DdsPixelFormat pf;
    pf.flags = 0x4;
    pf.fourCC = FourCC(fourCC[0], fourCC[1], fourCC[2], fourCC[3]);
    return DdsHeader(kSize, kSize, pf, uint32_t(blocks.size())) + blocks;
}

QByteArray Dx10(uint32_t dxgi, const QByteArray& data) {
    DdsPixelFormat pf;
    pf.flags = 0x4;
    pf.fourCC = FourCC('D', 'X', '1', '0');
    return DdsHeader(kSize, kSize, pf) + Dx10Header(dxgi) + data;
}

template <typename F> double MedianSeconds(int repeats, F&& run) {
    std::vector<double> times;
    run(); // warm-up: page cache and allocator
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        times.push_back(double(t.nsecsElapsed()) / 1e9);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const QString corpus = argc > 1 ? QString::fromLocal8Bit(argv[1]) : CorpusFolder();
    const int repeats = argc > 2 ? std::max(1, atoi(argv[2])) : 7;
    QTemporaryDir dir;
    const QImage picture = TestPicture(kSize, kSize);

    struct Case {
        const char* name;
        QByteArray file;
    };
    std::vector<Case> cases;
    cases.push_back({"DXT1 (BC1)", DdsDxt1(picture)});
    cases.push_back({"DXT3 (BC2)", DdsDxt3(picture)});
    cases.push_back({"DXT5 (BC3)", DdsDxt5(picture)});
    cases.push_back({"BC4", Legacy("ATI1", Blocks(corpus, "ati1.dds", 128, 64 * 64 / 2, 8))});
    cases.push_back({"BC5", Legacy("ATI2", Blocks(corpus, "ati2.dds", 128, 256 * 256, 16))});
    cases.push_back({"BC6H", Dx10(95, Blocks(corpus, "bc6h.dds", 148, 128 * 128, 16))});
    cases.push_back(
        {"BC7", Dx10(98, Blocks(corpus, "bc7-argb-8bpp_MipMaps-1.dds", 148, 256 * 256, 16))});
    cases.push_back({"RGBA 32-bit", DdsBgra32(picture)});
    // The uncompressed DXGI layouts, filled with random values (the decode cost
    // does not depend on them, except for the floats' special values).
    const qsizetype pixels = qsizetype(kSize) * kSize;
    cases.push_back({"R8G8 UNORM", Dx10(49, RandomBytes(pixels * 2))});
    cases.push_back({"R8G8B8A8 SNORM", Dx10(31, RandomBytes(pixels * 4))});
    cases.push_back({"B8G8R8X8 UNORM", Dx10(88, RandomBytes(pixels * 4))});
    cases.push_back({"R16 UNORM", Dx10(56, RandomBytes(pixels * 2))});
    cases.push_back({"R16G16 UNORM", Dx10(35, RandomBytes(pixels * 4))});
    cases.push_back({"R16G16B16A16 UNORM", Dx10(11, RandomBytes(pixels * 8))});
    cases.push_back({"R16G16B16A16 FLOAT", Dx10(10, RandomBytes(pixels * 8))});
    cases.push_back({"R10G10B10A2 UNORM", Dx10(24, RandomBytes(pixels * 4))});
    cases.push_back({"R11G11B10 FLOAT", Dx10(26, RandomBytes(pixels * 4))});
    cases.push_back({"R9G9B9E5", Dx10(67, RandomBytes(pixels * 4))});
    cases.push_back({"R32 FLOAT", Dx10(41, RandomBytes(pixels * 4))});
    cases.push_back({"R32G32B32A32 FLOAT", Dx10(2, RandomBytes(pixels * 16))});
    cases.push_back({"YUY2", Dx10(107, RandomBytes(pixels * 2))});

    const double megapixels = double(kSize) * kSize / 1e6;
    std::printf("DDS decode, %d x %d, median of %d runs after a warm-up\n\n", kSize, kSize,
                repeats);

    const QString dxt5Path = dir.path() + "/dxt5.dds";
    WriteBytes(dxt5Path, cases[2].file);
    const double library = MedianSeconds(repeats, [&] {
        FIBITMAP* dib = FreeImage_Load(FIF_DDS, QFile::encodeName(dxt5Path).constData(), 0);
        FreeImage_Unload(dib);
    });
    std::printf("%-22s %9.1f MP/s  (%.1f ms)\n", "library DXT5 load", megapixels / library,
                library * 1e3);

    // Two ways of getting the pixel memory: the library's zero-filled bitmaps, and
    // the conversion's own store (huge pages, no zero-fill) as the pipeline uses.
    std::printf("\n%-22s %21s   %21s\n", "", "library bitmap", "pipeline store");
    std::printf("%-22s %7s %7s %6s   %7s %7s %6s\n", "format", "MP/s", "ms", "ratio", "MP/s", "ms",
                "ratio");
    for (const Case& c : cases) {
        const QString path = dir.path() + "/case.dds";
        WriteBytes(path, c.file);
        QString error;
        const double plain = MedianSeconds(repeats, [&] {
            FIBITMAP* dib = dds::LoadFile(path, &error);
            if (!dib) std::fprintf(stderr, "%s: %s\n", c.name, qPrintable(error));
            FreeImage_Unload(dib);
        });
        const double stored = MedianSeconds(repeats, [&] {
            PixelStore store;
            dds::Options options;
            options.allocate = [&store](int w, int h, int bpp) {
                return store.Allocate(w, h, bpp);
            };
            FIBITMAP* dib = dds::LoadFile(path, &error, options);
            FreeImage_Unload(dib);
        });
        std::printf("%-22s %7.1f %7.1f %5.2fx   %7.1f %7.1f %5.2fx\n", c.name, megapixels / plain,
                    plain * 1e3, library / plain, megapixels / stored, stored * 1e3,
                    library / stored);
    }
    return 0;
}
