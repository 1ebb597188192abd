// The floor: only what the default conversion cannot avoid while the image
// library does the work. Load the DDS, bring it to 24 bits, save a JPEG at
// quality 95 without chroma subsampling.
//
//   tarvix_floor IN.dds OUT.jpg

#include <FreeImage.h>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s IN.dds OUT.jpg\n", argv[0]);
        return 2;
    }
    FIBITMAP* image = FreeImage_Load(FIF_DDS, argv[1], 0);
    if (!image) return 1;
    FIBITMAP* rgb = FreeImage_ConvertTo24Bits(image);
    FreeImage_Unload(image);
    if (!rgb) return 1;
    const bool ok = FreeImage_Save(FIF_JPEG, rgb, argv[2], 95 | JPEG_SUBSAMPLING_444);
    FreeImage_Unload(rgb);
    return ok ? 0 : 1;
}
