#pragma once
// The output format table (extension -> image-library format code, description,
// allowed bits per pixel) and the input extension table (extension, aliases
// included -> canonical extension and description). Built once, never changed.

#include <QHash>
#include <QString>
#include <cstdint>

namespace tarvix {

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
