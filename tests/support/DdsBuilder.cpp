#include "DdsBuilder.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace tarvix::test {
namespace {

void Put32(QByteArray& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}

void Put16(QByteArray& out, uint16_t v) {
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}

int MaskShift(uint32_t mask) {
    if (!mask) return 0;
    int s = 0;
    while (!(mask & 1u))
        mask >>= 1, ++s;
    return s;
}

int MaskBits(uint32_t mask) {
    mask >>= MaskShift(mask);
    int n = 0;
    while (mask & 1u)
        mask >>= 1, ++n;
    return n;
}

uint32_t Pack(int value8, uint32_t mask) {
    if (!mask) return 0;
    const int bits = MaskBits(mask);
    const uint32_t max = (1u << bits) - 1u;
    const uint32_t v = uint32_t(std::lround(value8 * double(max) / 255.0));
    return (v << MaskShift(mask)) & mask;
}

uint16_t To565(QRgb c) {
    return uint16_t((qRed(c) * 31 + 127) / 255) << 11 |
           uint16_t((qGreen(c) * 63 + 127) / 255) << 5 | uint16_t((qBlue(c) * 31 + 127) / 255);
}

QRgb From565(uint16_t v) {
    const int r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
    return qRgb((r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2));
}

int Luma(QRgb c) {
    return qRed(c) * 77 + qGreen(c) * 150 + qBlue(c) * 29;
}

// Colour block: four-colour mode (c0 > c1) always, indices by nearest palette entry.
void EncodeColorBlock(const QRgb px[16], QByteArray& out) {
    int lo = 0, hi = 0;
    for (int i = 1; i < 16; ++i) {
        if (Luma(px[i]) < Luma(px[lo])) lo = i;
        if (Luma(px[i]) > Luma(px[hi])) hi = i;
    }
    uint16_t c0 = To565(px[hi]), c1 = To565(px[lo]);
    if (c0 < c1) std::swap(c0, c1);
    if (c0 == c1) {
        // Keep the four-colour rule: nudge one end point.
        if (c0 < 0xFFFF)
            ++c0;
        else
            --c1;
    }
    const QRgb p0 = From565(c0), p1 = From565(c1);
    QRgb pal[4] = {p0, p1,
                   qRgb((2 * qRed(p0) + qRed(p1)) / 3, (2 * qGreen(p0) + qGreen(p1)) / 3,
                        (2 * qBlue(p0) + qBlue(p1)) / 3),
                   qRgb((qRed(p0) + 2 * qRed(p1)) / 3, (qGreen(p0) + 2 * qGreen(p1)) / 3,
                        (qBlue(p0) + 2 * qBlue(p1)) / 3)};
    uint32_t indices = 0;
    for (int i = 0; i < 16; ++i) {
        int best = 0, bestDist = INT32_MAX;
        for (int k = 0; k < 4; ++k) {
            const int dr = qRed(px[i]) - qRed(pal[k]), dg = qGreen(px[i]) - qGreen(pal[k]),
                      db = qBlue(px[i]) - qBlue(pal[k]);
            const int d = dr * dr + dg * dg + db * db;
            if (d < bestDist) bestDist = d, best = k;
        }
        indices |= uint32_t(best) << (2 * i);
    }
    Put16(out, c0);
    Put16(out, c1);
    Put32(out, indices);
}

void EncodeAlphaDxt5(const QRgb px[16], QByteArray& out) {
    int a0 = 0, a1 = 255;
    for (int i = 0; i < 16; ++i)
        a0 = std::max(a0, qAlpha(px[i])), a1 = std::min(a1, qAlpha(px[i]));
    if (a0 == a1) {
        if (a0 < 255)
            ++a0;
        else
            --a1;
    }
    int pal[8] = {a0, a1};
    for (int k = 1; k < 7; ++k)
        pal[k + 1] = ((7 - k) * a0 + k * a1) / 7;
    uint64_t bits = 0;
    for (int i = 0; i < 16; ++i) {
        int best = 0, bestDist = INT32_MAX;
        for (int k = 0; k < 8; ++k) {
            const int d = std::abs(qAlpha(px[i]) - pal[k]);
            if (d < bestDist) bestDist = d, best = k;
        }
        bits |= uint64_t(best) << (3 * i);
    }
    out.append(char(a0));
    out.append(char(a1));
    for (int i = 0; i < 6; ++i)
        out.append(char((bits >> (8 * i)) & 0xFF));
}

void EncodeAlphaDxt3(const QRgb px[16], QByteArray& out) {
    uint64_t bits = 0;
    for (int i = 0; i < 16; ++i)
        bits |= uint64_t((qAlpha(px[i]) * 15 + 127) / 255) << (4 * i);
    for (int i = 0; i < 8; ++i)
        out.append(char((bits >> (8 * i)) & 0xFF));
}

QByteArray Compressed(const QImage& image, int version) {
    const uint32_t fourCC = FourCC('D', 'X', 'T', char('0' + version));
    DdsPixelFormat pf;
    pf.flags = 0x4; // DDPF_FOURCC
    pf.fourCC = fourCC;
    const QByteArray blocks = EncodeDxt(image, version);
    return DdsHeader(uint32_t(image.width()), uint32_t(image.height()), pf,
                     uint32_t(blocks.size())) +
           blocks;
}

} // namespace

QByteArray DdsHeader(uint32_t width, uint32_t height, const DdsPixelFormat& pf,
                     uint32_t pitchOrLinearSize, uint32_t mipCount) {
    QByteArray out("DDS ");
    Put32(out, 124);
    uint32_t flags = 0x1 | 0x2 | 0x4 | 0x1000;   // caps, height, width, pixel format
    flags |= (pf.flags & 0x4) ? 0x80000u : 0x8u; // linear size or pitch
    if (mipCount) flags |= 0x20000;
    Put32(out, flags);
    Put32(out, height);
    Put32(out, width);
    Put32(out, pitchOrLinearSize);
    Put32(out, 0); // depth
    Put32(out, mipCount);
    for (int i = 0; i < 11; ++i)
        Put32(out, 0);
    Put32(out, 32);
    Put32(out, pf.flags);
    Put32(out, pf.fourCC);
    Put32(out, pf.bitCount);
    Put32(out, pf.rMask);
    Put32(out, pf.gMask);
    Put32(out, pf.bMask);
    Put32(out, pf.aMask);
    Put32(out, 0x1000 | (mipCount ? 0x400008u : 0u)); // caps: texture
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);
    return out;
}

QByteArray Dx10Header(uint32_t dxgiFormat, uint32_t arraySize) {
    QByteArray out;
    Put32(out, dxgiFormat);
    Put32(out, 3); // texture 2D
    Put32(out, 0);
    Put32(out, arraySize);
    Put32(out, 0);
    return out;
}

QByteArray DdsUncompressed(const QImage& source, int bitCount, uint32_t r, uint32_t g, uint32_t b,
                           uint32_t a) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    DdsPixelFormat pf;
    pf.flags = (r | g | b) ? 0x40u : 0x20000u; // RGB, or luminance
    if (a) pf.flags |= 0x1;                    // alpha pixels
    pf.bitCount = uint32_t(bitCount);
    pf.rMask = r, pf.gMask = g, pf.bMask = b, pf.aMask = a;
    const int bytes = bitCount / 8;
    const uint32_t pitch = uint32_t(image.width() * bytes);
    QByteArray out = DdsHeader(uint32_t(image.width()), uint32_t(image.height()), pf, pitch);
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            const uint32_t v =
                Pack(qRed(c), r) | Pack(qGreen(c), g) | Pack(qBlue(c), b) | Pack(qAlpha(c), a);
            for (int i = 0; i < bytes; ++i)
                out.append(char((v >> (8 * i)) & 0xFF));
        }
    }
    return out;
}

QByteArray DdsRgb24(const QImage& image) {
    return DdsUncompressed(image, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
}

QByteArray DdsBgra32(const QImage& image) {
    return DdsUncompressed(image, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
}

QByteArray EncodeDxt(const QImage& source, int version) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    QByteArray out;
    const int bw = (image.width() + 3) / 4, bh = (image.height() + 3) / 4;
    out.reserve(qsizetype(bw) * bh * (version == 1 ? 8 : 16));
    for (int by = 0; by < bh; ++by) {
        const QRgb* rows[4];
        for (int r = 0; r < 4; ++r)
            rows[r] = reinterpret_cast<const QRgb*>(
                image.constScanLine(std::min(by * 4 + r, image.height() - 1)));
        for (int bx = 0; bx < bw; ++bx) {
            QRgb px[16];
            for (int i = 0; i < 16; ++i)
                px[i] = rows[i / 4][std::min(bx * 4 + i % 4, image.width() - 1)];
            if (version == 3) EncodeAlphaDxt3(px, out);
            if (version == 5) EncodeAlphaDxt5(px, out);
            EncodeColorBlock(px, out);
        }
    }
    return out;
}

QByteArray DdsDxt1(const QImage& image) {
    return Compressed(image, 1);
}
QByteArray DdsDxt3(const QImage& image) {
    return Compressed(image, 3);
}
QByteArray DdsDxt5(const QImage& image) {
    return Compressed(image, 5);
}

QImage TestPicture(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int r = width > 1 ? x * 255 / (width - 1) : 128;
            const int g = height > 1 ? y * 255 / (height - 1) : 128;
            const int b = 255 - (r + g) / 2;
            const int a = 128 + (x + y) * 127 / std::max(1, width + height - 2);
            line[x] = qRgba(r, g, b, a);
        }
    }
    if (width >= 16 && height >= 16) {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 220, 40));
        p.drawEllipse(QRectF(width * 0.55, height * 0.12, width * 0.3, height * 0.3));
        p.setBrush(QColor(30, 90, 40));
        QPainterPath hill;
        hill.moveTo(0, height);
        hill.cubicTo(width * 0.3, height * 0.45, width * 0.6, height * 0.9, width, height * 0.6);
        hill.lineTo(width, height);
        hill.closeSubpath();
        p.drawPath(hill);
    }
    return image;
}

} // namespace tarvix::test
