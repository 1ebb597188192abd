#include "dds/DdsReader.h"

#include "dds/BlockDecoders.h"
#include "dds/DdsHeader.h"
#include "dds/Uncompressed.h"
#include "platform/Paths.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tarvix::dds {
namespace {

class FileSource : public Source {
public:
    FileSource(int fd, uint64_t size) : fd_(fd), size_(size) {}
    uint64_t Size() const override { return size_; }
    bool Read(uint64_t offset, size_t bytes, uint8_t* out) const override {
        while (bytes > 0) {
            const ssize_t n = ::pread(fd_, out, bytes, off_t(offset));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false; // an error, or the file shrank meanwhile
            out += n;
            offset += uint64_t(n);
            bytes -= size_t(n);
        }
        return true;
    }

private:
    int fd_;
    uint64_t size_;
};

int BytesOf(Output output) {
    return output == Output::Grey8 ? 1 : output == Output::Rgb24 ? 3 : 4;
}

std::optional<Pixels> Allocate(const Info& info, const Allocator& allocate) {
    const int w = int(info.CanvasWidth()), h = int(info.CanvasHeight());
    const int bpp = info.output == Output::Grey8 ? 8 : info.output == Output::Rgb24 ? 24 : 32;
    std::optional<Pixels> pixels = allocate(w, h, bpp);
    if (pixels && bpp == 8 && pixels->palette) {
        // Blue, green, red, reserved: a grey ramp.
        for (int i = 0; i < 256; ++i) {
            uint8_t* entry = pixels->palette + 4 * i;
            entry[0] = entry[1] = entry[2] = uint8_t(i);
            entry[3] = 0;
        }
    }
    return pixels;
}

// Where decoded rows go, addressed directly: a bitmap's pixels (bottom row
// first in memory) or a strip of rows (top row first).
struct Target {
    BYTE* top;      // the row firstRow
    ptrdiff_t step; // from one row to the next one down
    uint32_t firstRow;
    BYTE* Row(uint32_t y) const { return top + step * (ptrdiff_t(y) - ptrdiff_t(firstRow)); }

    static Target Bitmap(const Pixels& pixels, uint32_t height) {
        return {pixels.bits + pixels.pitch * (height - 1), -ptrdiff_t(pixels.pitch), 0};
    }
};

// Writes the R, G, B, A pixels of one decoded block into the bitmap.
void StoreBlock(const Target& t, const Info& info, uint32_t bx, uint32_t by, const uint8_t* rgba) {
    const uint32_t x0 = bx * 4, y0 = by * 4;
    const uint32_t cols = std::min<uint32_t>(4, info.width - x0);
    const uint32_t rows = std::min<uint32_t>(4, info.height - y0);
    for (uint32_t r = 0; r < rows; ++r) {
        BYTE* line = t.Row(y0 + r);
        const uint8_t* src = rgba + 16 * r;
        switch (info.output) {
        case Output::Rgba32: {
            BYTE* dst = line + 4 * x0;
            for (uint32_t c = 0; c < cols; ++c, dst += 4, src += 4) {
                dst[FI_RGBA_RED] = src[0];
                dst[FI_RGBA_GREEN] = src[1];
                dst[FI_RGBA_BLUE] = src[2];
                dst[FI_RGBA_ALPHA] = src[3];
            }
            break;
        }
        case Output::Rgb24: {
            BYTE* dst = line + 3 * x0;
            for (uint32_t c = 0; c < cols; ++c, dst += 3, src += 4) {
                dst[FI_RGBA_RED] = src[0];
                dst[FI_RGBA_GREEN] = src[1];
                dst[FI_RGBA_BLUE] = src[2];
            }
            break;
        }
        case Output::Grey8:
            break; // single-channel blocks are stored by StoreChannelBlock
        }
    }
}

void StoreChannelBlock(const Target& t, const Info& info, uint32_t bx, uint32_t by,
                       const uint8_t* v) {
    const uint32_t x0 = bx * 4, y0 = by * 4;
    const uint32_t cols = std::min<uint32_t>(4, info.width - x0);
    const uint32_t rows = std::min<uint32_t>(4, info.height - y0);
    for (uint32_t r = 0; r < rows; ++r) {
        std::memcpy(t.Row(y0 + r) + x0, v + 4 * r, cols);
    }
}

void DecodeBlockRow(const Target& t, const Info& info, uint32_t by, const uint8_t* row) {
    const uint32_t blocks = (info.width + 3) / 4;
    uint8_t rgba[64];
    uint8_t channel[16];
    for (uint32_t bx = 0; bx < blocks; ++bx) {
        const uint8_t* block = row + size_t(bx) * info.blockBytes;
        switch (info.format) {
        case Format::Bc1:
            DecodeBc1(block, rgba, true);
            break;
        case Format::Bc2:
            DecodeBc2(block, rgba);
            break;
        case Format::Bc3:
            DecodeBc3(block, rgba);
            break;
        case Format::Bc4Unsigned:
        case Format::Bc4Signed:
            DecodeBc4(block, channel, info.format == Format::Bc4Signed);
            StoreChannelBlock(t, info, bx, by, channel);
            continue;
        case Format::Bc5Unsigned:
        case Format::Bc5Signed:
            DecodeBc5(block, rgba, info.format == Format::Bc5Signed);
            break;
        case Format::Bc6hUnsigned:
        case Format::Bc6hSigned:
            DecodeBc6h(block, rgba, info.format == Format::Bc6hSigned);
            break;
        case Format::Bc7:
            DecodeBc7(block, rgba);
            break;
        default:
            return;
        }
        StoreBlock(t, info, bx, by, rgba);
    }
}

// The decoded pixels of one row in the format's own layout (native) through the
// steps the caller chose, into a row of the bitmap (always 24 bits then).
void FinishRow(const Info& info, const BYTE* src, BYTE* dst) {
    const bool alpha = info.native == Output::Rgba32;
    const int in = alpha ? 4 : 3;
    const uint32_t bg = info.background.value_or(0);
    const int bgR = int(bg >> 16 & 0xFF), bgG = int(bg >> 8 & 0xFF), bgB = int(bg & 0xFF);
    for (uint32_t x = 0; x < info.width; ++x, src += in, dst += 3) {
        float r = src[FI_RGBA_RED], g = src[FI_RGBA_GREEN], b = src[FI_RGBA_BLUE];
        int a = alpha ? src[FI_RGBA_ALPHA] : 255;
        if (info.rxgb) r = float(a), a = 255;
        if (info.decodeMarker) {
            // The YCoCg-DXT rule: luma in alpha, the chroma pair in red and
            // green (offset by half the range), a scale in blue when scaled.
            const float offset = 0.5f * 256.0f / 255.0f;
            if (info.marker == EditorMarker::AlphaExponent) {
                const float k = float(a) / 255.0f;
                r *= k, g *= k, b *= k;
            } else {
                const float y = float(a) / 255.0f;
                float co = r / 255.0f - offset, cg = g / 255.0f - offset;
                if (info.marker == EditorMarker::YCoCgScaled) {
                    const float scale = 1.0f / ((255.0f / 8.0f) * (b / 255.0f) + 1.0f);
                    co *= scale, cg *= scale;
                }
                r = (y + co - cg) * 255.0f, g = (y + cg) * 255.0f, b = (y - co - cg) * 255.0f;
            }
            a = 255;
        }
        if (info.rebuild != Info::Normal::None) {
            if (info.rebuild == Info::Normal::FromAlphaGreen) r = float(a);
            const float nx = r / 255.0f * 2.0f - 1.0f, ny = g / 255.0f * 2.0f - 1.0f;
            const float nz = std::sqrt(std::max(0.0f, 1.0f - nx * nx - ny * ny));
            b = (nz + 1.0f) * 0.5f * 255.0f;
            a = 255;
        }
        auto byte = [](float v) { return BYTE(std::clamp(int(std::lround(v)), 0, 255)); };
        if (info.Composites() && a < 255) {
            // Straight alpha weighs the colour; premultiplied alpha already has.
            const float k = float(a) / 255.0f, rest = 1.0f - k;
            const float w = info.premultiplied ? 1.0f : k;
            r = r * w + float(bgR) * rest, g = g * w + float(bgG) * rest,
            b = b * w + float(bgB) * rest;
        }
        dst[FI_RGBA_RED] = byte(r);
        dst[FI_RGBA_GREEN] = byte(g);
        dst[FI_RGBA_BLUE] = byte(b);
    }
}

bool DecodeRawRows(const Source& source, const Info& info, const uint8_t* palette, const Target& t,
                   uint32_t first, uint32_t last, const std::atomic<bool>& failed);

// Decodes rows [first, last) of pixels or blocks; through FinishRow when the
// caller chose a step that needs the stored channels.
bool DecodeRows(const Source& source, const Info& info, const uint8_t* palette, const Target& t,
                uint32_t first, uint32_t last, const std::atomic<bool>& failed) {
    if (!info.Transforms()) return DecodeRawRows(source, info, palette, t, first, last, failed);
    Info raw = info;
    raw.output = info.native;
    const uint32_t unit = info.blockCompressed ? 4 : 1;
    // A few file rows at a time into a scratch strip of the native layout.
    const uint32_t step = std::max(1u, 64 / unit);
    const size_t pitch = size_t(info.width) * size_t(BytesOf(info.native));
    std::vector<BYTE> scratch;
    try {
        scratch.resize(pitch * step * unit);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (uint32_t row = first; row < last; row += step) {
        const uint32_t end = std::min(last, row + step);
        const Target s{scratch.data(), ptrdiff_t(pitch), row * unit};
        if (!DecodeRawRows(source, raw, palette, s, row, end, failed)) return false;
        const uint32_t lastPixel = std::min(info.height, end * unit);
        for (uint32_t y = row * unit; y < lastPixel; ++y)
            FinishRow(info, s.Row(y), t.Row(y));
    }
    return true;
}

// Decodes rows [first, last) of pixels or blocks as stored, reading them in chunks.
bool DecodeRawRows(const Source& source, const Info& info, const uint8_t* palette, const Target& t,
                   uint32_t first, uint32_t last, const std::atomic<bool>& failed) {
    const uint64_t rowBytes = info.RowBytes();
    const uint32_t chunkRows =
        uint32_t(std::max<uint64_t>(1, (256 * 1024) / std::max<uint64_t>(1, rowBytes)));
    // Planar video formats keep their chroma in a second plane, one row of it
    // for every chromaRows-th row of luma.
    const uint32_t div = info.chromaRows;
    std::vector<uint8_t> buffer, chroma;
    try {
        buffer.resize(size_t(rowBytes) * std::min(chunkRows, last - first));
        if (div) chroma.resize(size_t(rowBytes) * (std::min(chunkRows, last - first) / div + 2));
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (uint32_t row = first; row < last && !failed.load(std::memory_order_relaxed);) {
        const uint32_t count = std::min(chunkRows, last - row);
        if (!source.Read(info.dataOffset + uint64_t(row) * rowBytes, size_t(rowBytes) * count,
                         buffer.data()))
            return false;
        const uint32_t firstChroma = div ? row / div : 0;
        if (div && !source.Read(info.chromaOffset + uint64_t(firstChroma) * rowBytes,
                                size_t(rowBytes) * ((row + count - 1) / div - firstChroma + 1),
                                chroma.data()))
            return false;
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* bytes = buffer.data() + size_t(rowBytes) * i;
            if (info.blockCompressed)
                DecodeBlockRow(t, info, row + i, bytes);
            else
                DecodePixelRow(info, palette, bytes, t.Row(row + i),
                               div ? chroma.data() +
                                         size_t(rowBytes) * ((row + i) / div - firstChroma)
                                   : nullptr);
        }
        row += count;
    }
    return true;
}

// Reads and checks the header, and the palette of a palette file: everything a
// decode needs before its first row. nullopt with the reason in error.
// Reads the first bytes of a file and checks its header and chosen picture;
// described as for ParseHeader.
std::optional<Info> ReadHeader(const Source& source, const Request& request, QString* error,
                               Info* described = nullptr) {
    uint8_t head[kHeaderBytes + kDx10Bytes] = {};
    const size_t headBytes = size_t(std::min<uint64_t>(source.Size(), sizeof head));
    if (!source.Read(0, headBytes, head)) {
        *error = QStringLiteral("the file could not be read");
        return std::nullopt;
    }
    return ParseHeader(head, headBytes, source.Size(), error, request, described);
}

std::optional<Info> ReadInfo(const Source& source, bool opaque, const Request& request,
                             uint8_t* palette, QString* error) {
    std::optional<Info> info = ReadHeader(source, request, error);
    if (!info) return std::nullopt;
    if (opaque && info->output == Output::Rgba32) info->output = Output::Rgb24;
    if ((info->format == Format::Palette8 || info->format == Format::PaletteAlpha8) &&
        !source.Read(info->paletteOffset, kPaletteBytes, palette)) {
        *error = QStringLiteral("the file could not be read");
        return std::nullopt;
    }
    return info;
}

// The info of one face of a cross or strip.
Info CellInfo(const Info& info, const Cell& cell) {
    Info face = info;
    face.dataOffset = cell.offset;
    if (face.chromaRows) face.chromaOffset = cell.offset + face.RowBytes() * face.Rows();
    face.cells.clear();
    return face;
}

// Rows [first, last) of a cross or strip: the empty cells in the background
// colour (black when alpha is dropped), each face's rows in its cell. out holds
// row first; rows are pitch bytes apart, top row first when pitch > 0.
bool DecodeCanvasRows(const Source& source, const Info& info, const uint8_t* palette,
                      const Target& out, uint32_t first, uint32_t last) {
    const int bytes = BytesOf(info.output);
    const size_t width = size_t(info.CanvasWidth()) * size_t(bytes);
    const uint32_t bg = info.background.value_or(0);
    for (uint32_t y = first; y < last; ++y) {
        BYTE* row = out.Row(y);
        if (!info.background || info.output == Output::Grey8) {
            std::memset(row, 0, width);
            continue;
        }
        for (size_t x = 0; x < width; x += size_t(bytes)) {
            row[x + FI_RGBA_RED] = BYTE(bg >> 16), row[x + FI_RGBA_GREEN] = BYTE(bg >> 8),
                    row[x + FI_RGBA_BLUE] = BYTE(bg);
            if (bytes == 4) row[x + FI_RGBA_ALPHA] = 255;
        }
    }
    const std::atomic<bool> failed{false};
    const uint32_t h = info.height, unit = info.blockCompressed ? 4 : 1;
    const size_t faceBytes = size_t(info.width) * size_t(bytes);
    std::vector<BYTE> scratch;
    for (const Cell& cell : info.cells) {
        const uint32_t top = cell.row * h;
        const uint32_t a = std::max(first, top), b = std::min(last, top + h);
        if (a >= b) continue;
        const Info face = CellInfo(info, cell);
        const uint32_t fa = a - top, fb = b - top;                  // face pixel rows
        const uint32_t ra = fa / unit, rb = (fb + unit - 1) / unit; // face file rows
        // Rows that begin or end inside a block go through a scratch strip, so
        // that nothing outside [first, last) is written.
        if (fa % unit == 0 && (fb % unit == 0 || fb == h)) {
            const Target t{out.Row(a) + faceBytes * cell.column, out.step, fa};
            if (!DecodeRows(source, face, palette, t, ra, rb, failed)) return false;
            continue;
        }
        try {
            scratch.resize(faceBytes * (rb - ra) * unit);
        } catch (const std::bad_alloc&) {
            return false;
        }
        const Target s{scratch.data(), ptrdiff_t(faceBytes), ra * unit};
        if (!DecodeRows(source, face, palette, s, ra, rb, failed)) return false;
        for (uint32_t y = fa; y < fb; ++y)
            std::memcpy(out.Row(top + y) + faceBytes * cell.column, s.Row(y), faceBytes);
    }
    return true;
}

} // namespace

bool MemorySource::Read(uint64_t offset, size_t bytes, uint8_t* out) const {
    if (offset > size_ || bytes > size_ - offset) return false;
    std::memcpy(out, data_ + offset, bytes);
    return true;
}

bool DecodeInto(const Source& source, QString* error, const Options& options,
                const Allocator& allocate) {
    QString ignored;
    if (!error) error = &ignored;
    uint8_t palette[kPaletteBytes] = {};
    const std::optional<Info> parsed =
        ReadInfo(source, options.opaque, options.request, palette, error);
    if (!parsed) return false;
    const Info& info = *parsed;

    const std::optional<Pixels> pixels = Allocate(info, allocate);
    if (!pixels) {
        *error = QStringLiteral("not enough memory for a %1 x %2 picture")
                     .arg(info.width)
                     .arg(info.height);
        return false;
    }

    const Target target = Target::Bitmap(*pixels, info.CanvasHeight());
    if (!info.cells.empty()) {
        if (!DecodeCanvasRows(source, info, palette, target, 0, info.CanvasHeight())) {
            *error = QStringLiteral("the file could not be read");
            return false;
        }
        return true;
    }
    // Small pictures are not worth a second thread.
    const uint32_t rows = info.Rows();
    int threads = options.threads;
    if (threads <= 0) {
        threads = int(std::max(1u, std::min(2u, std::thread::hardware_concurrency())));
        if (uint64_t(info.width) * info.height < 256 * 256) threads = 1;
    }
    threads = int(std::min<uint32_t>(uint32_t(threads), rows));
    std::atomic<bool> failed{false};
    std::vector<std::thread> workers;
    const uint32_t share = (rows + uint32_t(threads) - 1) / uint32_t(threads);
    for (int t = 1; t < threads; ++t) {
        const uint32_t first = share * uint32_t(t), last = std::min(rows, first + share);
        if (first >= last) break;
        try {
            workers.emplace_back([&, first, last] {
                if (!DecodeRows(source, info, palette, target, first, last, failed)) failed = true;
            });
        } catch (const std::system_error&) {
            // No thread to be had: this thread decodes those rows itself below.
            if (!DecodeRows(source, info, palette, target, first, last, failed)) failed = true;
        }
    }
    if (!DecodeRows(source, info, palette, target, 0, std::min(rows, share), failed)) failed = true;
    for (std::thread& w : workers)
        w.join();
    if (failed) {
        *error = QStringLiteral("the file could not be read");
        return false;
    }
    return true;
}

namespace {

// Opens a regular file for reading; -1 with the reason otherwise.
int OpenRegularFile(const QString& path, uint64_t* size, QString* error) {
    const int fd = ::open(NativePath(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *error = QStringLiteral("the file could not be opened: %1")
                     .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        *error = QStringLiteral("not a regular file");
        return -1;
    }
    *size = uint64_t(st.st_size);
    return fd;
}

} // namespace

struct StripReader::Parts {
    int fd = -1;
    std::unique_ptr<FileSource> source;
    Info info;
    uint8_t palette[kPaletteBytes] = {};
    ~Parts() {
        if (fd >= 0) ::close(fd);
    }
};

StripReader::StripReader() = default;
StripReader::~StripReader() = default;

std::unique_ptr<StripReader> StripReader::Open(const QString& path, QString* error, bool opaque,
                                               const Request& request) {
    QString ignored;
    if (!error) error = &ignored;
    auto parts = std::make_unique<Parts>();
    uint64_t size = 0;
    parts->fd = OpenRegularFile(path, &size, error);
    if (parts->fd < 0) return nullptr;
    parts->source = std::make_unique<FileSource>(parts->fd, size);
    const std::optional<Info> info =
        ReadInfo(*parts->source, opaque, request, parts->palette, error);
    if (!info) return nullptr;
    parts->info = *info;
    std::unique_ptr<StripReader> reader(new StripReader);
    reader->parts_ = std::move(parts);
    return reader;
}

uint32_t StripReader::Width() const {
    return parts_->info.CanvasWidth();
}

uint32_t StripReader::Height() const {
    return parts_->info.CanvasHeight();
}

int StripReader::Bpp() const {
    const Output output = parts_->info.output;
    return output == Output::Grey8 ? 8 : output == Output::Rgb24 ? 24 : 32;
}

uint32_t StripReader::RowAlignment() const {
    // The faces of a cross or strip find their own blocks.
    return parts_->info.blockCompressed && parts_->info.cells.empty() ? 4 : 1;
}

bool StripReader::Decode(uint32_t first, uint32_t count, uint8_t* out, size_t pitch) const {
    const Info& info = parts_->info;
    if (!info.cells.empty()) {
        if (count == 0 || first >= info.CanvasHeight() || count > info.CanvasHeight() - first)
            return false;
        return DecodeCanvasRows(*parts_->source, info, parts_->palette,
                                Target{out, ptrdiff_t(pitch), first}, first, first + count);
    }
    const uint32_t align = RowAlignment();
    if (count == 0 || first % align != 0 || first >= info.height || count > info.height - first)
        return false;
    const Target target{out, ptrdiff_t(pitch), first};
    // Rows of the file: pixel rows, or the block rows that cover these pixels
    // (the last block row of the picture may reach below it; its extra rows are
    // never stored).
    const uint32_t firstRow = first / align;
    const uint32_t lastRow = (first + count + align - 1) / align;
    if (first + count < info.height && (first + count) % align != 0) return false;
    const std::atomic<bool> failed{false};
    return DecodeRows(*parts_->source, info, parts_->palette, target, firstRow, lastRow, failed);
}

std::optional<Info> Inspect(const QString& path, QString* error, const Request& request) {
    error->clear();
    uint64_t size = 0;
    const int fd = OpenRegularFile(path, &size, error);
    if (fd < 0) return std::nullopt;
    Info described;
    described.width = 0; // stays 0 when not even the header could be read
    if (ReadHeader(FileSource(fd, size), request, error, &described)) error->clear();
    ::close(fd);
    if (described.width == 0) return std::nullopt;
    return described;
}

bool LoadFileInto(const QString& path, QString* error, const Options& options,
                  const Allocator& allocate) {
    QString ignored;
    if (!error) error = &ignored;
    uint64_t size = 0;
    const int fd = OpenRegularFile(path, &size, error);
    if (fd < 0) return false;
    const bool decoded = DecodeInto(FileSource(fd, size), error, options, allocate);
    ::close(fd);
    return decoded;
}

} // namespace tarvix::dds
