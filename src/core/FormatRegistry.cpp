#include "core/FormatRegistry.h"

namespace tarvix {
namespace {

QHash<QString, OutputFormatEntry> BuildOutputTable() {
    struct Row {
        const char* ext;
        int32_t code;
        const char* description;
        const char* bpp;
    };
    static const Row rows[] = {
        {"bmp", kFormatBmp, "Windows or OS/2 Bitmap", "1,4,8,16,24,32"},
        {"exr", kFormatExr, "ILM OpenEXR", "96"},
        {"gif", kFormatGif, "Graphics Interchange Format", "8"},
        {"hdr", kFormatHdr, "High Dynamic Range Image", "96"},
        {"ico", kFormatIco, "Windows Icon", "1,4,8,16,24,32"},
        {"j2k", kFormatJ2k, "JPEG-2000 Codestream", "8,24,32,48"},
        {"jng", kFormatJng, "JPEG Network Graphics", "24,32"},
        {"jp2", kFormatJp2, "JPEG-2000 File Format", "8,24,32,48"},
        {"jpg", kFormatJpeg, "JPEG File Format", "8,24"},
        {"jxr", kFormatJxr, "JPEG XR Image Format", "1,8,16,24,32,48,96"},
        {"pbm", kFormatPbm, "Portable Bitmap", "1"},
        {"pfm", kFormatPfm, "Portable Floatmap", "96"},
        {"pgm", kFormatPgm, "Portable Greymap", "8"},
        {"png", kFormatPng, "Portable Network Graphics", "1,4,8,24,32,48"},
        {"ppm", kFormatPpm, "Portable Pixelmap", "24,48"},
        {"tga", kFormatTarga, "Truevision Targa", "8,16,24,32"},
        {"tiff", kFormatTiff, "Tagged Image File Format", "1,4,8,24,32,48,96"},
        {"wbmp", kFormatWbmp, "Wireless Bitmap", "1"},
        {"webp", kFormatWebp, "Google WebP Image Format", "24,32"},
        {"xpm", kFormatXpm, "X11 Pixmap Format", "24"},
    };
    QHash<QString, OutputFormatEntry> table;
    for (const Row& r : rows) {
        const QString ext = QString::fromLatin1(r.ext);
        table.insert(ext, OutputFormatEntry{r.code, ext, QString::fromLatin1(r.description),
                                            QString::fromLatin1(r.bpp)});
    }
    return table;
}

QHash<QString, InputFormatEntry> BuildInputTable() {
    struct Group {
        const char* canonical;
        const char* description;
        std::initializer_list<const char*> keys;
    };
    static const Group groups[] = {
        {"bmp", "Windows or OS/2 Bitmap", {"bmp", "rle", "dib"}},
        {"dds", "DirectDraw Surface File", {"dds"}},
        {"emf", "Enhanced Metafile Format", {"emf", "emz"}},
        {"gif", "GIF File", {"gif"}},
        {"hdr", "High Dynamic Range File", {"hdr", "hdri"}},
        {"ico", "Windows Icon", {"ico"}},
        {"jpg", "JPEG File", {"jpg", "jpeg", "jpe", "jif"}},
        {"pcd", "Kodak PhotoCD File", {"pcd", "pcd1", "pcds", "ppcd"}},
        {"pcx", "ZSoft Paintbrush File", {"pcx"}},
        {"pic", "Macintosh PICT", {"pic", "pict", "pct"}},
        {"png", "Portable Network Graphics", {"png"}},
        {"psd", "Adobe Photoshop File", {"psd"}},
        {"tga", "Truevision Targa", {"tga", "targa"}},
        {"tiff", "Tagged Image File Format", {"tiff", "tif"}},
        {"wmf", "Windows Metafile Format", {"wmf", "wmz"}},
        {"wmf", "Aldus Placeable Metafile", {"apm"}},
        {"raw", "Camera RAW Image", {"raw", "raw1", "raw2"}},
        {"raw", "Hasselblad Camera RAW Image", {"3fr"}},
        {"raw", "Sony Camera RAW Image", {"arw", "sr2", "srf"}},
        {"raw", "Casio Camera RAW Image", {"bay"}},
        {"raw", "NuCore RAW Image", {"bmq"}},
        {"raw", "Phase One Camera RAW Image", {"cap", "iiq", "eip"}},
        {"raw", "Phantom RAW Image", {"cine"}},
        {"raw", "Canon Camera RAW Image", {"cr2", "crw"}},
        {"raw", "Capture Shop RAW Image", {"cs1"}},
        {"raw", "Kodak Camera RAW Image", {"dc2", "dcr", "drf", "dsc", "k25", "kc2", "kdc", "dcs"}},
        {"raw", "Adobe Digital Negative Image", {"dng"}},
        {"raw", "Epson Camera RAW Image", {"erf"}},
        {"raw", "Imacon Camera RAW Image", {"fff"}},
        {"raw", "Sinar RAW Image", {"ia", "sti"}},
        {"raw", "Minolta Camera RAW Image", {"mdc", "mrw"}},
        {"raw", "Mamiya Camera RAW Image", {"mef", "mos"}},
        {"raw", "Nikon Camera RAW Image", {"nef", "nrw"}},
        {"raw", "Olympus Camera RAW Image", {"orf"}},
        {"raw", "Pentax Camera RAW Image", {"pef", "ptx"}},
        {"raw", "Logitech Camera RAW Image", {"pxn"}},
        {"raw", "Apple Quicktake Camera RAW Image", {"qtk"}},
        {"raw", "Fuji Camera RAW Image", {"raf"}},
        {"raw", "Digital Foto Maker RAW Image", {"rdc"}},
        {"raw", "Panasonic Camera RAW Image", {"rw2"}},
        {"raw", "Rawzor Camera RAW Image", {"rwz"}},
        {"raw", "Sigma Camera RAW Image", {"x3f"}},
        {"raw", "ARRI RAW Image", {"ari"}},
        {"raw", "RED RAW Image", {"r3d"}},
        {"raw", "Leica Camera RAW Image", {"rwl"}},
    };
    QHash<QString, InputFormatEntry> table;
    for (const Group& g : groups)
        for (const char* key : g.keys)
            table.insert(QString::fromLatin1(key),
                         InputFormatEntry{QString::fromLatin1(g.canonical),
                                          QString::fromLatin1(g.description)});
    return table;
}

} // namespace

const QHash<QString, OutputFormatEntry>& OutputFormatTable() {
    static const QHash<QString, OutputFormatEntry> table = BuildOutputTable();
    return table;
}

const QHash<QString, InputFormatEntry>& InputFormatTable() {
    static const QHash<QString, InputFormatEntry> table = BuildInputTable();
    return table;
}

void FillFormatRegistry() {
    OutputFormatTable();
    InputFormatTable();
}

const OutputFormatEntry& OutputFormat(const QString& extension) {
    static const OutputFormatEntry none;
    const auto& table = OutputFormatTable();
    auto it = table.constFind(extension);
    return it == table.constEnd() ? none : it.value();
}

const InputFormatEntry& InputFormat(const QString& extension) {
    static const InputFormatEntry none;
    const auto& table = InputFormatTable();
    auto it = table.constFind(extension);
    return it == table.constEnd() ? none : it.value();
}

} // namespace tarvix
