#pragma once
// The output format table (extension -> image-library format code, description,
// allowed bits per pixel) and the input extension table (extension, aliases
// included -> canonical extension and description). Built once, never changed.

#include <QHash>
#include <QString>
#include <cstdint>

namespace tarvix {

// The image library's format codes (its FREE_IMAGE_FORMAT numbers), so that the
// tables need no image library; the engine checks that they agree.
enum ImageFormatCode : int32_t {
    kFormatBmp = 0,
    kFormatIco = 1,
    kFormatJpeg = 2,
    kFormatJng = 3,
    kFormatPbm = 7,
    kFormatPgm = 11,
    kFormatPng = 13,
    kFormatPpm = 14,
    kFormatTarga = 17,
    kFormatTiff = 18,
    kFormatWbmp = 19,
    kFormatXpm = 23,
    kFormatGif = 25,
    kFormatHdr = 26,
    kFormatExr = 29,
    kFormatJ2k = 30,
    kFormatJp2 = 31,
    kFormatPfm = 32,
    kFormatWebp = 35,
    kFormatJxr = 36,
};

struct OutputFormatEntry {
    int32_t formatCode = 0;
    QString extension;
    QString description;
    QString bppList;
};

struct InputFormatEntry {
    QString canonical;
    QString description;
};

// Builds both tables; later calls change nothing.
void FillFormatRegistry();

// A missing key gives an entry whose fields are all zero or empty.
const OutputFormatEntry& OutputFormat(const QString& extension);
const InputFormatEntry& InputFormat(const QString& extension);
const QHash<QString, OutputFormatEntry>& OutputFormatTable();
const QHash<QString, InputFormatEntry>& InputFormatTable();

} // namespace tarvix
