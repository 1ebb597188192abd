// Damaged files: every truncation and every corrupted header byte of real files
// is refused or decoded, never more. With the sanitizer build this is a small,
// deterministic fuzz run; the fuzzer's findings are replayed here too.

#include "DdsBuilder.h"
#include "TestSupport.h"
#include "dds/DdsHeader.h"
#include "dds/DdsReader.h"

#include <QDir>
#include <gtest/gtest.h>
#include <random>

using namespace tarvix;
using namespace tarvix::test;

namespace {

void Decode(const QByteArray& bytes) {
    QString error;
    FIBITMAP* dib = dds::DecodeMemory(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                      size_t(bytes.size()), &error, 2);
    if (dib) {
        // A decoded picture is never larger than the file can describe.
        EXPECT_LE(uint64_t(FreeImage_GetWidth(dib)) * FreeImage_GetHeight(dib),
                  uint64_t(bytes.size()) * 16);
        FreeImage_Unload(dib);
    } else {
        EXPECT_FALSE(error.isEmpty());
    }
}

QList<QByteArray> Samples() {
    QList<QByteArray> samples;
    const QImage picture = TestPicture(12, 10);
    samples << DdsDxt1(picture) << DdsDxt5(picture) << DdsBgra32(picture)
            << DdsUncompressed(picture, 16, 0xF800, 0x7E0, 0x1F, 0);
    const QString corpus = CorpusFolder();
    if (!corpus.isEmpty())
        for (const char* name : {"bc7-argb-8bpp_MipMaps-1.dds", "bc6h.dds", "palette.dds",
                                 "bc5s.dds", "DXGI_FORMAT_R8G8B8A8_UNORM_SRGB.dds"})
            samples << ReadBytes(corpus + "/" + name);
    return samples;
}

} // namespace

TEST(Robustness, EveryTruncation) {
    for (const QByteArray& sample : Samples())
        for (int length = 0; length <= std::min<qsizetype>(sample.size(), 400); ++length)
            Decode(sample.left(length));
}

TEST(Robustness, EveryCorruptedHeaderByte) {
    std::mt19937 rng(11);
    for (const QByteArray& sample : Samples())
        for (int offset = 0; offset < std::min<qsizetype>(sample.size(), 148); ++offset)
            for (uint8_t value : {uint8_t(0), uint8_t(0xFF), uint8_t(0x80), uint8_t(rng())}) {
                QByteArray damaged = sample;
                damaged[offset] = char(value);
                Decode(damaged);
            }
}

TEST(Robustness, RandomBlockData) {
    // Any bit pattern is a valid block: decoding random blocks of every block
    // format must simply work.
    std::mt19937 rng(3);
    for (uint32_t dxgi : {71u, 74u, 77u, 80u, 81u, 83u, 84u, 95u, 96u, 98u}) {
        QByteArray blocks(64 * 16, Qt::Uninitialized);
        for (char& c : blocks)
            c = char(rng());
        DdsPixelFormat pf;
        pf.flags = 0x4;
        pf.fourCC = FourCC('D', 'X', '1', '0');
        const QByteArray file = DdsHeader(32, 32, pf) + Dx10Header(dxgi) + blocks;
        QString error;
        FIBITMAP* dib = dds::DecodeMemory(reinterpret_cast<const uint8_t*>(file.constData()),
                                          size_t(file.size()), &error);
        ASSERT_NE(dib, nullptr) << dxgi << " " << error.toStdString();
        FreeImage_Unload(dib);
    }
}

TEST(Robustness, FuzzerFindingsStayFixed) {
    const QDir findings(QStringLiteral(TARVIX_SOURCE_DIR "/tests/dds/fuzz/findings"));
    ASSERT_TRUE(findings.exists());
    for (const QString& name : findings.entryList(QDir::Files))
        if (!name.endsWith(".md")) Decode(ReadBytes(findings.filePath(name)));
}

// The fuzzer's seeds, one small file of each uncompressed layout: each decodes,
// and every shorter cut of it is refused without harm.
TEST(Robustness, EverySeedLayoutDecodesAndItsCutsAreRefused) {
    const QDir seeds(QStringLiteral(TARVIX_SOURCE_DIR "/tests/dds/fuzz/seeds"));
    const QStringList names = seeds.entryList({"*.dds"}, QDir::Files);
    ASSERT_GE(names.size(), 100);
    for (const QString& name : names) {
        const QByteArray file = ReadBytes(seeds.filePath(name));
        QString error;
        FIBITMAP* dib = dds::DecodeMemory(reinterpret_cast<const uint8_t*>(file.constData()),
                                          size_t(file.size()), &error);
        EXPECT_NE(dib, nullptr) << name.toStdString() << ": " << error.toStdString();
        if (dib) FreeImage_Unload(dib);
        // Only the first picture must be there: the end of the first slice of a
        // volume, of the first face of a cube, of level 0 of a mip chain.
        const std::optional<dds::Info> info =
            dds::ParseHeader(reinterpret_cast<const uint8_t*>(file.constData()),
                             size_t(std::min<qsizetype>(file.size(), 148)), uint64_t(file.size()),
                             &error, {});
        ASSERT_TRUE(info.has_value()) << name.toStdString();
        const qsizetype needed = qsizetype(info->dataOffset + info->dataBytes);
        EXPECT_TRUE(needed == file.size() || name.startsWith("volume") ||
                    name.startsWith("surface"))
            << name.toStdString() << " holds more than its first picture";
        for (qsizetype cut = 0; cut < needed; cut += 7) {
            FIBITMAP* part = dds::DecodeMemory(reinterpret_cast<const uint8_t*>(file.constData()),
                                               size_t(cut), &error);
            EXPECT_EQ(part, nullptr) << name.toStdString() << " cut at " << cut;
            if (part) FreeImage_Unload(part);
        }
    }
}
