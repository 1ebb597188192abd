#pragma once
// The program's own DDS reader. It hands the pipeline the same kind of bitmap the
// image library would: colour formats as 32 bits with alpha, opaque uncompressed
// RGB (and BC5, BC6H) as 24 bits, single-channel formats as 8-bit greyscale.

#include "dds/DdsHeader.h"

#include <FreeImage.h>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace tarvix::dds {

// Random access to the bytes of a DDS file; Read may be called from several
// threads at once.
class Source {
public:
    virtual ~Source() = default;
    virtual uint64_t Size() const = 0;
    virtual bool Read(uint64_t offset, size_t bytes, uint8_t* out) const = 0;
};

class MemorySource : public Source {
public:
    MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint64_t Size() const override { return size_; }
    bool Read(uint64_t offset, size_t bytes, uint8_t* out) const override;

private:
    const uint8_t* data_;
    size_t size_;
};

struct Options {
    // Decoding threads; 0 uses both cores for pictures worth it.
    int threads = 0;
    // Colour formats come out as 24 bits without alpha, for a caller whose
    // output cannot keep alpha anyway (saves memory and a conversion).
    bool opaque = false;
    // Makes the bitmap to decode into; FreeImage_Allocate when empty. Must give a
    // bitmap of the size and depth asked for, with masks for 24 and 32 bits.
    std::function<FIBITMAP*(int width, int height, int bpp)> allocate;
    // Which picture, and what becomes of its channels.
    Request request;
};

// A whole picture's memory as the caller made it for the size and depth asked
// for: the bottom row first, rows pitch bytes apart; for 8 bits a 256-entry
// palette (blue, green, red, reserved) the reader fills with a grey ramp.
struct Pixels {
    uint8_t* bits = nullptr;
    size_t pitch = 0;
    uint8_t* palette = nullptr;
};
using Allocator = std::function<std::optional<Pixels>(int width, int height, int bpp)>;

// Validates, then decodes the top level of the first surface into the memory
// allocate gives (the caller owns and frees it, also on failure). False with
// the reason in plain words in error.
bool DecodeInto(const Source& source, QString* error, const Options& options,
                const Allocator& allocate);
bool LoadFileInto(const QString& path, QString* error, const Options& options,
                  const Allocator& allocate);

// The same into an image library bitmap (dds/DdsBitmap.cpp, part of the
// whole-picture library). Null on failure, with the reason in error.
FIBITMAP* Decode(const Source& source, QString* error, const Options& options = {});
FIBITMAP* DecodeMemory(const uint8_t* data, size_t size, QString* error, int threads = 0);
FIBITMAP* LoadFile(const QString& path, QString* error, const Options& options = {});

// What a file's header says, without decoding: nothing, with the reason, when
// the header cannot be read. error then (or else) says why the chosen picture
// could not be decoded; empty when it could.
std::optional<Info> Inspect(const QString& path, QString* error, const Request& request = {});

// Decodes a file a strip of rows at a time, top row first, for a caller that
// never holds the whole picture. The file is validated as for Decode and stays
// open while the reader lives.
class StripReader {
public:
    ~StripReader();
    // Null, with the reason, for what Decode would refuse.
    static std::unique_ptr<StripReader> Open(const QString& path, QString* error,
                                             bool opaque = false, const Request& request = {});
    uint32_t Width() const;
    uint32_t Height() const;
    // 8, 24 or 32: the depth of the bitmap Decode would give.
    int Bpp() const;
    // Strips start on a multiple of this (4 for block formats, else 1), and end
    // on one unless they end the picture.
    uint32_t RowAlignment() const;
    // Decodes pixel rows [first, first + count) into out, top row first, pitch
    // bytes apart, pixels in the bitmap's byte order. False for a strip out of
    // bounds or not aligned, or when the file cannot be read (it may have
    // shrunk meanwhile).
    bool Decode(uint32_t first, uint32_t count, uint8_t* out, size_t pitch) const;

private:
    StripReader();
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

} // namespace tarvix::dds
