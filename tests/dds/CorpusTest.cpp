// The shared conformance corpus: every decode entry matches its expected picture
// within one level per channel; every reject entry is refused quickly.

#include "TestSupport.h"
#include "dds/DdsReader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

using namespace tarvix;

namespace {

struct Entry {
    QString file, expected, verdict, compare;
    int width = 0, height = 0;
};

QList<Entry> Manifest() {
    QList<Entry> entries;
    const QString folder = test::CorpusFolder();
    if (folder.isEmpty()) return entries;
    const QStringList lines = QString::fromUtf8(test::ReadBytes(folder + "/MANIFEST.csv"))
                                  .split('\n', Qt::SkipEmptyParts);
    for (int i = 1; i < lines.size(); ++i) {
        const QStringList f = lines[i].trimmed().split(',');
        if (f.size() < 6) continue;
        entries.append({f[0], f[1], f[2], f[5], f[3].toInt(), f[4].toInt()});
    }
    return entries;
}

QRgb PixelOf(FIBITMAP* dib, int x, int y) {
    const int h = int(FreeImage_GetHeight(dib));
    const BYTE* line = FreeImage_GetScanLine(dib, h - 1 - y);
    switch (FreeImage_GetBPP(dib)) {
    case 8:
        return qRgb(line[x], line[x], line[x]);
    case 24:
        return qRgb(line[3 * x + FI_RGBA_RED], line[3 * x + FI_RGBA_GREEN],
                    line[3 * x + FI_RGBA_BLUE]);
    default:
        return qRgba(line[4 * x + FI_RGBA_RED], line[4 * x + FI_RGBA_GREEN],
                     line[4 * x + FI_RGBA_BLUE], line[4 * x + FI_RGBA_ALPHA]);
    }
}

} // namespace

TEST(Corpus, DecodesMatchTheirExpectedPictures) {
    const QList<Entry> entries = Manifest();
    if (entries.isEmpty()) GTEST_SKIP() << "no conformance corpus in this checkout";
    const QString folder = test::CorpusFolder();
    int checked = 0;
    for (const Entry& e : entries) {
        if (e.verdict != "decode") continue;
        SCOPED_TRACE(e.file.toStdString());
        QString error;
        FIBITMAP* dib = dds::LoadFile(folder + "/" + e.file, &error);
        ASSERT_NE(dib, nullptr) << error.toStdString();
        EXPECT_EQ(int(FreeImage_GetWidth(dib)), e.width);
        EXPECT_EQ(int(FreeImage_GetHeight(dib)), e.height);
        if (e.compare != "none") {
            const QImage expected =
                QImage(folder + "/" + e.expected).convertToFormat(QImage::Format_ARGB32);
            ASSERT_FALSE(expected.isNull()) << e.expected.toStdString();
            ASSERT_EQ(expected.size(), QSize(e.width, e.height));
            int worst = 0, badX = 0, badY = 0, mismatches = 0;
            for (int y = 0; y < e.height; ++y)
                for (int x = 0; x < e.width; ++x) {
                    const QRgb got = PixelOf(dib, x, y), want = expected.pixel(x, y);
                    const int d = std::max({std::abs(qRed(got) - qRed(want)),
                                            std::abs(qGreen(got) - qGreen(want)),
                                            std::abs(qBlue(got) - qBlue(want))});
                    mismatches += d > 0;
                    if (d > worst) worst = d, badX = x, badY = y;
                }
            if (getenv("CORPUS_VERBOSE"))
                printf("%s worst %d (%d pixels)\n", qPrintable(e.file), worst, mismatches);
            EXPECT_LE(worst, 1) << "at " << badX << "," << badY << ": got " << std::hex
                                << PixelOf(dib, badX, badY) << " want "
                                << expected.pixel(badX, badY);
        }
        FreeImage_Unload(dib);
        ++checked;
    }
    EXPECT_GE(checked, 24);
}

TEST(Corpus, RejectsAreRefusedQuicklyWithAReason) {
    const QList<Entry> entries = Manifest();
    if (entries.isEmpty()) GTEST_SKIP() << "no conformance corpus in this checkout";
    int checked = 0;
    for (const Entry& e : entries) {
        if (e.verdict != "reject") continue;
        SCOPED_TRACE(e.file.toStdString());
        QElapsedTimer timer;
        timer.start();
        QString error;
        FIBITMAP* dib = dds::LoadFile(test::CorpusFolder() + "/" + e.file, &error);
        EXPECT_EQ(dib, nullptr);
        EXPECT_FALSE(error.isEmpty());
        EXPECT_LT(timer.elapsed(), 1000);
        if (dib) FreeImage_Unload(dib);
        ++checked;
    }
    EXPECT_EQ(checked, 7);
}
