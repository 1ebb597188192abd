#pragma once
// Pixel memory for the large bitmaps of one conversion. Fresh pages cost far
// more than the work done on them, so big buffers ask the system for huge pages
// and are not zero-filled first (the decoder writes every byte).

#include <FreeImage.h>
#include <cstddef>
#include <vector>

namespace tarvix {

class PixelStore {
public:
    PixelStore() = default;
    PixelStore(const PixelStore&) = delete;
    PixelStore& operator=(const PixelStore&) = delete;
    ~PixelStore();

    // A bitmap of the given size and depth (8, 24 or 32 bits); its pixels belong
    // to this store and outlive FreeImage_Unload of the bitmap until Release or
    // the store's end. Small bitmaps are ordinary library bitmaps.
    FIBITMAP* Allocate(int width, int height, int bpp);
    // Frees the pixels of every bitmap of this store other than current: the
    // pipeline has replaced (and unloaded) them.
    void Release(const FIBITMAP* current);

private:
    struct Block {
        const FIBITMAP* bitmap;
        void* pixels;
    };
    std::vector<Block> blocks_;
};

} // namespace tarvix
