#include "core/FormatRegistry.h"
#include "request/InputSelection.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

using namespace tarvix;

TEST(FormatRegistry, OutputTable) {
    EXPECT_EQ(OutputFormatTable().size(), 20);
    const OutputFormatEntry& jpg = OutputFormat("jpg");
    EXPECT_EQ(jpg.formatCode, FIF_JPEG);
    EXPECT_EQ(jpg.formatCode, 2);
    EXPECT_EQ(jpg.extension, "jpg");
    EXPECT_EQ(jpg.description, "JPEG File Format");
    EXPECT_EQ(jpg.bppList, "8,24");
    EXPECT_EQ(OutputFormat("tga").formatCode, 17);
    EXPECT_EQ(OutputFormat("webp").formatCode, 35);
    EXPECT_EQ(OutputFormat("jxr").formatCode, 36);
    const OutputFormatEntry& pcx = OutputFormat("pcx");
    EXPECT_EQ(pcx.formatCode, 0);
    EXPECT_TRUE(pcx.bppList.isEmpty());
    EXPECT_TRUE(OutputFormat("JPG").description.isEmpty()); // keys are lower case
}

TEST(FormatRegistry, InputTable) {
    EXPECT_EQ(InputFormatTable().size(), 79);
    for (const char* alias : {"jpeg", "jpe", "jif"}) {
        EXPECT_EQ(InputFormat(alias).canonical, "jpg");
        EXPECT_EQ(InputFormat(alias).description, "JPEG File");
    }
    EXPECT_EQ(InputFormat("apm").canonical, "wmf");
    EXPECT_EQ(InputFormat("apm").description, "Aldus Placeable Metafile");
    EXPECT_EQ(InputFormat("wmz").description, "Windows Metafile Format");
    EXPECT_EQ(InputFormat("nef").description, "Nikon Camera RAW Image");
    EXPECT_EQ(InputFormat("dds").description, "DirectDraw Surface File");
    EXPECT_TRUE(InputFormat("DDS").canonical.isEmpty());
    int raw = 0;
    for (const InputFormatEntry& e : InputFormatTable())
        raw += e.canonical == "raw";
    EXPECT_EQ(raw, 48);
}

TEST(FormatRegistry, AcceptedExtensionsAreOnlyDds) {
    EXPECT_EQ(BuildAcceptedExtensions(), QStringList{"dds"});
}
