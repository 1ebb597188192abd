// DDS files through the whole program: the corpus converts (or is refused) as a
// user would see it.

#include "DdsBuilder.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <cmath>
#include <gtest/gtest.h>

using namespace tarvix::test;

namespace {

double Psnr(const QImage& a, const QImage& b, bool grey) {
    double sum = 0;
    long n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (grey) {
                const double d = qGray(p) - qGray(q);
                sum += d * d;
                ++n;
            } else {
                for (int c = 0; c < 3; ++c) {
                    const int u = c == 0 ? qRed(p) : c == 1 ? qGreen(p) : qBlue(p);
                    const int v = c == 0 ? qRed(q) : c == 1 ? qGreen(q) : qBlue(q);
                    sum += double(u - v) * (u - v);
                    ++n;
                }
            }
        }
    const double mse = sum / double(std::max(1L, n));
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

} // namespace

TEST(DdsEndToEnd, CorpusConvertsOrIsRefused) {
    const QString corpus = CorpusFolder();
    if (corpus.isEmpty()) GTEST_SKIP() << "no conformance corpus in this checkout";
    Sandbox box;
    QDir(box.Path()).mkpath("out");
    const QStringList lines =
        QString::fromUtf8(ReadBytes(corpus + "/MANIFEST.csv")).split('\n', Qt::SkipEmptyParts);
    int decoded = 0, rejected = 0;
    for (int i = 1; i < lines.size(); ++i) {
        const QStringList f = lines[i].trimmed().split(',');
        if (f.size() < 6) continue;
        SCOPED_TRACE(f[0].toStdString());
        const QString jpg = box.Path("out/" + f[0].left(f[0].size() - 4) + ".jpg");
        const ProcessResult r = box.Run({"-q", "-i", corpus + "/" + f[0], "-o", box.Path("out"),
                                         "--jpg-quality=100", "--jpg-chroma=none"});
        if (f[2] == "decode") {
            ++decoded;
            EXPECT_EQ(r.exitCode, 0) << r.out.toStdString();
            const QImage out(jpg);
            ASSERT_FALSE(out.isNull());
            EXPECT_EQ(out.width(), f[3].toInt());
            EXPECT_EQ(out.height(), f[4].toInt());
            if (f[5] != "none") {
                const QImage expected =
                    QImage(corpus + "/" + f[1]).convertToFormat(QImage::Format_ARGB32);
                EXPECT_GE(Psnr(out, expected, f[5] == "grey"), 38.0);
            }
        } else {
            ++rejected;
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_EQ(r.out, "Conversion stopped\n");
            EXPECT_FALSE(QFile::exists(jpg));
            EXPECT_LT(r.elapsedMs, 1000);
            EXPECT_LT(r.peakKiB, 64 * 1024);
        }
    }
    EXPECT_EQ(decoded, 24);
    EXPECT_EQ(rejected, 7);
}

TEST(DdsEndToEnd, TheReasonGoesToStandardErrorInEveryMode) {
    Sandbox box;
    QByteArray truncated = DdsDxt5(TestPicture(64, 64));
    truncated.truncate(128 + 1000);
    ASSERT_TRUE(WriteBytes(box.Path("t.dds"), truncated));
    ASSERT_TRUE(WriteBytes(box.Path("n.dds"), QByteArray(200, 'x')));
    const struct {
        const char* file;
        const char* reason;
    } cases[] = {{"t.dds", "truncated DDS data: 4096 bytes expected, 1000 present"},
                 {"n.dds", "not a DDS file: it does not begin with \"DDS \""}};
    for (const auto& c : cases) {
        const QString path = box.Path(c.file);
        const QString error = "Error: " + path + ": " + c.reason + "\n";
        ProcessResult r = box.Run({"-q", "-d", "-i", path});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, error);
        // "Not OK" is followed directly by the next designed line.
        const QStringList lines = r.outLines();
        const int notOk = int(lines.indexOf("Not OK"));
        ASSERT_GE(notOk, 0);
        EXPECT_EQ(lines.mid(notOk + 1), QStringList{"Conversion stopped"});
        r = box.Run({"-q", "-i", path});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, error);
        EXPECT_EQ(r.out, "Conversion stopped\n");
    }
}

TEST(DdsEndToEnd, HugeClaimIsRefusedWithoutAllocating) {
    Sandbox box;
    DdsPixelFormat pf;
    pf.flags = 0x4;
    pf.fourCC = FourCC('D', 'X', 'T', '1');
    ASSERT_TRUE(WriteBytes(box.Path("huge.dds"), DdsHeader(16384, 16384, pf)));
    const ProcessResult r = box.Run({"-q", "-i", box.Path("huge.dds")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_LT(r.elapsedMs, 1000);
    EXPECT_LT(r.peakKiB, 64 * 1024);
    EXPECT_FALSE(QFile::exists(box.Path("huge.jpg")));
}
