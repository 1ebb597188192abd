#include "engine/TextureInfo.h"

#include "dds/DdsReader.h"
#include "dds/DxgiFormats.h"
#include "platform/Paths.h"

#include <QStringList>

namespace tarvix {
namespace {

QString Surfaces(const dds::Surfaces& s) {
    if (s.volume) return QStringLiteral("volume, %1 slices").arg(s.depth);
    QString text;
    if (s.cube) {
        static const char* const names[] = {"+X", "-X", "+Y", "-Y", "+Z", "-Z"};
        QStringList faces;
        for (int f = 0; f < 6; ++f)
            if (s.faces & (1 << f)) faces << QLatin1String(names[f]);
        text = QStringLiteral("cube map, %1 of 6 faces (%2)")
                   .arg(faces.size())
                   .arg(faces.join(QLatin1Char(' ')));
        if (s.arraySize > 1) text += QStringLiteral(", %1 cubes").arg(s.arraySize);
        return text;
    }
    return s.arraySize > 1 ? QStringLiteral("%1 array items").arg(s.arraySize)
                           : QStringLiteral("one picture");
}

QString Alpha(const dds::Info& info) {
    if (info.native != dds::Output::Rgba32) return QStringLiteral("none");
    if (info.premultiplied) return QStringLiteral("premultiplied");
    switch (info.surfaces.alphaMode) {
    case 3:
        return QStringLiteral("opaque (the file says so)");
    case 4:
        return QStringLiteral("custom");
    default:
        return QStringLiteral("straight");
    }
}

QString Flags(const dds::Info& info) {
    QStringList flags;
    if (info.normalFlag) flags << QStringLiteral("normal map (pixel-format flag 0x80000000)");
    if (info.rxgb) flags << QStringLiteral("red kept in alpha (RXGB)");
    switch (info.marker) {
    case dds::EditorMarker::YCoCg:
        flags << QStringLiteral("editor marker YCG1 (YCoCg)");
        break;
    case dds::EditorMarker::YCoCgScaled:
        flags << QStringLiteral("editor marker YCG2 (scaled YCoCg)");
        break;
    case dds::EditorMarker::AlphaExponent:
        flags << QStringLiteral("editor marker AEXP (alpha exponent)");
        break;
    case dds::EditorMarker::None:
        break;
    }
    return flags.isEmpty() ? QStringLiteral("none") : flags.join(QStringLiteral(", "));
}

} // namespace

QStringList DescribeTexture(const QString& path, bool* read) {
    QString error;
    const std::optional<dds::Info> info = dds::Inspect(path, &error);
    *read = info.has_value();
    QStringList lines{path};
    if (!info) {
        lines << QStringLiteral("  converts: no: ") + error;
        return lines;
    }
    QString format = info->name;
    if (info->dxgi)
        format = QStringLiteral("DXGI %1 %2").arg(info->dxgi).arg(dds::DxgiName(info->dxgi));
    else if (!info->fourCC.isEmpty() && !format.contains(info->fourCC))
        format += QStringLiteral(" (FourCC %1)").arg(info->fourCC);
    const uint64_t present = FileSize(path) > 0 ? uint64_t(FileSize(path)) : 0;
    lines << QStringLiteral("  size: %1 x %2").arg(info->width).arg(info->height)
          << QStringLiteral("  format: ") + format
          << QStringLiteral("  mip levels: %1").arg(info->surfaces.mipLevels)
          << QStringLiteral("  surfaces: ") + Surfaces(info->surfaces)
          << QStringLiteral("  alpha: ") + Alpha(*info)
          << QStringLiteral("  flags: ") + Flags(*info)
          << (info->fileBytes == UINT64_MAX
                  ? QStringLiteral("  bytes: more expected than a file can hold, %1 present")
                        .arg(present)
                  : QStringLiteral("  bytes: %1 expected, %2 present")
                        .arg(info->fileBytes)
                        .arg(present))
          << (error.isEmpty() ? QStringLiteral("  converts: yes")
                              : QStringLiteral("  converts: no: ") + error);
    return lines;
}

} // namespace tarvix
