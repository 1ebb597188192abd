#pragma once
// The program's own DDS reader. It hands the pipeline the same kind of bitmap the
// image library would: colour formats as 32 bits with alpha, opaque uncompressed
// RGB (and BC5, BC6H) as 24 bits, single-channel formats as 8-bit greyscale.

#include <FreeImage.h>
#include <QString>
#include <cstddef>
#include <cstdint>

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

// Validates, then decodes the top level of the first surface. Null on failure,
// with the reason in plain words in error.
FIBITMAP* Decode(const Source& source, QString* error, int threads = 0);
FIBITMAP* DecodeMemory(const uint8_t* data, size_t size, QString* error, int threads = 0);
FIBITMAP* LoadFile(const QString& path, QString* error, int threads = 0);

} // namespace tarvix::dds
