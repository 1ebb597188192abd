// Thumbnails written from a level of their size without the image library
// against the image library's own.

#include "DdsBuilder.h"
#include "TestSupport.h"
#include "core/PluginApi.h"

#include <FreeImage.h>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvix::test;

namespace {

// The PNG's pixels as the image library reads them, and its depth.
QByteArray PixelsOf(const QString& path, int* bpp) {
    FIBITMAP* dib = FreeImage_Load(FIF_PNG, QFile::encodeName(path).constData());
    if (!dib) return {};
    *bpp = int(FreeImage_GetBPP(dib));
    QByteArray pixels;
    for (unsigned y = 0; y < FreeImage_GetHeight(dib); ++y)
        pixels.append(reinterpret_cast<const char*>(FreeImage_GetScanLine(dib, int(y))),
                      qsizetype(FreeImage_GetWidth(dib) * FreeImage_GetBPP(dib) / 8));
    FreeImage_Unload(dib);
    return pixels;
}

} // namespace

// Every texture of the conformance corpus that has a level of the size asked
// for (greyscale, opaque and alpha formats among them), and made-up files of
// odd shapes: the same depth and pixels either way.
TEST(Thumbnail, ALevelOfItsSizeGivesTheImageLibrarysPixels) {
    QTemporaryDir dir;
    QStringList inputs;
    const QDir corpus(CorpusFolder());
    for (const QString& name : corpus.entryList({"*.dds"}, QDir::Files))
        inputs << corpus.filePath(name);
    ASSERT_GE(inputs.size(), 20);
    for (const auto& [name, bytes] : {std::pair{"odd.dds", DdsDxt1(TestPicture(5, 3))},
                                      std::pair{"rgb.dds", DdsRgb24(TestPicture(67, 129))},
                                      std::pair{"wide.dds", DdsBgra32(TestPicture(1024, 7))}}) {
        ASSERT_TRUE(WriteBytes(dir.filePath(name), bytes));
        inputs << dir.filePath(name);
    }
    const tarvix::ThumbnailApi* quick = tarvix_thumbnail_api();
    const tarvix::ImageApi* library = tarvix_image_api();
    std::map<int, int> depths;
    for (const QString& input : inputs) {
        SCOPED_TRACE(input.toStdString());
        QString reasons[2];
        const bool written[2] = {
            quick->writeThumbnail(input, dir.filePath("quick.png"), 1024, &reasons[0]),
            library->writeThumbnail(input, dir.filePath("library.png"), 1024, &reasons[1])};
        ASSERT_EQ(written[0], written[1]) << reasons[0].toStdString();
        if (!written[0]) {
            EXPECT_EQ(reasons[0], reasons[1]);
            continue;
        }
        int bpp[2] = {};
        const QByteArray quickPixels = PixelsOf(dir.filePath("quick.png"), &bpp[0]);
        const QByteArray libraryPixels = PixelsOf(dir.filePath("library.png"), &bpp[1]);
        ASSERT_FALSE(quickPixels.isEmpty());
        EXPECT_EQ(bpp[0], bpp[1]);
        EXPECT_TRUE(quickPixels == libraryPixels);
        ++depths[bpp[0]];
    }
    // The corpus really holds every depth.
    EXPECT_GT(depths[8], 0);
    EXPECT_GT(depths[24], 0);
    EXPECT_GT(depths[32], 0);
}
