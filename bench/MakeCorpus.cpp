// Writes the benchmark corpus: DXT1 and DXT5 at 256, 1024, 2048, 4096 and 8192
// pixels square, uncompressed RGBA at 2048, BC7 at 2048 and 4096 (the blocks of
// the conformance corpus's BC7 file, tiled), and "pack/": a texture folder of 200
// 1024² DXT5 files in 10 subfolders, each name used once; and "small/": 1,000
// textures of 256² (DXT1, DXT5 and BC7 in turn) in 10 subfolders, as game folders
// of icons and decals are; and "thumb/": a 4096² DXT5 with its full mip chain
// beside the same picture without one, for the thumbnail mode.
//
//   tarvix_bench_corpus FOLDER [conformance-corpus-folder]

#include "DdsBuilder.h"
#include "TestSupport.h"

#include <QDir>
#include <cstdio>

using namespace tarvix::test;

namespace {

QByteArray Bc7(int size, const QByteArray& source) {
    DdsPixelFormat pf;
    pf.flags = 0x4;
    pf.fourCC = FourCC('D', 'X', '1', '0');
    const qsizetype count = qsizetype(size / 4) * (size / 4);
    QByteArray blocks;
    blocks.reserve(count * 16);
    // The source is 64 x 64 blocks; tile it as a picture, not as a stream.
    const int sourceBlocks = 64;
    for (int by = 0; by < size / 4; ++by)
        for (int bx = 0; bx < size / 4; ++bx)
            blocks += source.mid(((by % sourceBlocks) * sourceBlocks + bx % sourceBlocks) * 16, 16);
    return DdsHeader(uint32_t(size), uint32_t(size), pf) + Dx10Header(98) + blocks;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [conformance-corpus-folder]\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString corpus = argc > 2 ? QString::fromLocal8Bit(argv[2]) : CorpusFolder();
    QDir().mkpath(folder);
    auto write = [&](const QString& name, const QByteArray& bytes) {
        if (!WriteBytes(folder + "/" + name, bytes)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
            std::exit(1);
        }
        std::printf("%s\n", qPrintable(name));
    };
    for (int size : {256, 1024, 2048, 4096, 8192}) {
        const QImage picture = TestPicture(size, size);
        write(QStringLiteral("dxt1_%1.dds").arg(size), DdsDxt1(picture));
        write(QStringLiteral("dxt5_%1.dds").arg(size), DdsDxt5(picture));
        if (size == 2048) write(QStringLiteral("rgba_%1.dds").arg(size), DdsBgra32(picture));
    }
    {
        // Each level scaled from the one above, as texture tools make them.
        QImage level = TestPicture(4096, 4096);
        QByteArray chain = DdsDxt5(level);
        int levels = 1;
        while (level.width() > 1) {
            level = level.scaled(level.width() / 2, level.height() / 2, Qt::IgnoreAspectRatio,
                                 Qt::SmoothTransformation);
            chain += DdsDxt5(level).mid(128);
            ++levels;
        }
        chain[28] = char(levels);
        QDir().mkpath(folder + "/thumb");
        write("thumb/dxt5_4096_mips.dds", chain);
        write("thumb/dxt5_4096.dds", DdsDxt5(TestPicture(4096, 4096)));
    }
    // Eight different pictures (the same picture shifted), cycled: enough variety
    // for the encoder, without encoding 200 textures.
    QByteArray pack[8];
    for (int k = 0; k < 8; ++k) {
        const QImage picture = TestPicture(1024 + 37 * k, 1024).copy(37 * k, 0, 1024, 1024);
        pack[k] = DdsDxt5(picture);
    }
    for (int i = 0; i < 200; ++i) {
        QDir().mkpath(folder + QStringLiteral("/pack/set%1").arg(i % 10));
        write(
            QStringLiteral("pack/set%1/texture%2.dds").arg(i % 10).arg(i, 3, 10, QLatin1Char('0')),
            pack[i % 8]);
    }
    QByteArray bc7 =
        corpus.isEmpty()
            ? QByteArray()
            : ReadBytes(corpus + "/bc7-argb-8bpp_MipMaps-1.dds").mid(148, 64 * 64 * 16);
    if (bc7.size() != 64 * 64 * 16) {
        std::fprintf(stderr, "no BC7 source in the conformance corpus; BC7 files skipped\n");
        return 0;
    }
    write("bc7_2048.dds", Bc7(2048, bc7));
    write("bc7_4096.dds", Bc7(4096, bc7));
    QByteArray small[3][4];
    for (int k = 0; k < 4; ++k) {
        const QImage picture = TestPicture(256 + 19 * k, 256).copy(19 * k, 0, 256, 256);
        small[0][k] = DdsDxt1(picture);
        small[1][k] = DdsDxt5(picture);
        small[2][k] = Bc7(256, bc7.mid(0) /* the source's 64 x 64 blocks are 256² */);
    }
    for (int i = 0; i < 1000; ++i) {
        QDir().mkpath(folder + QStringLiteral("/small/set%1").arg(i % 10));
        write(QStringLiteral("small/set%1/icon%2.dds").arg(i % 10).arg(i, 4, 10, QLatin1Char('0')),
              small[i % 3][(i / 3) % 4]);
    }
    return 0;
}
